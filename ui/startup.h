#pragma once
// Brings the station up in its fixed order: tables and templates, the data
// files, then the main window (so its lists show what was read), the port,
// the instance name and the automatic-test settings.
#include <QStringList>
#include <functional>
#include <memory>

class MainWindow;

// arguments as QCoreApplication::arguments() gives them. windowBuilt runs as
// soon as the window exists, before it is filled (whose boxes it may parent).
std::unique_ptr<MainWindow> startStation(const QStringList &arguments,
                                         const std::function<void(MainWindow &)> &windowBuilt = {});
