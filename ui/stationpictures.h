#pragma once
// The station's small pictures, drawn rather than shipped: the traffic light of
// the home page, the data-activity lamp of the status bar and the tray icon.
#include "core/station/stationview.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace stationpictures {

// A Windows colour value 0x00BBGGRR as a Qt colour.
QColor fromWinColor(WinColor color);

QPixmap trafficLight(SystemStatus status);
// 0 idle, 1 sending, 2 receiving.
QPixmap dataIndicator(int kind);
QIcon trayIcon();

} // namespace stationpictures
