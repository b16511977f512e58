#include "device/link/comsettings.h"

#include "core/files/configsections.h"
#include "core/files/stationini.h"
#include "core/platform/numbertext.h"
#include "core/station/stationsettings.h"
#include "core/station/stationview.h"
#include "device/link/seriallink.h"

#include <limits>

namespace {

const QString kCom = QStringLiteral("COM");
// The port list offers "COM1" to "COM10".
constexpr int kPortCount = 10;
constexpr int kDefaultPort = 1;

int portIndex(const QString &text)
{
    const double value = numbertext::leadingNumber(text);
    if (value < 0)
        return kDefaultPort;
    const qint64 index = numbertext::roundHalfEven(value);
    return index < kPortCount ? static_cast<int>(index) : kDefaultPort;
}

int connectionMode(const QString &text, int fallback)
{
    const qint64 mode = numbertext::roundHalfEven(numbertext::leadingNumber(text));
    if (mode < 0 || mode > std::numeric_limits<qint32>::max())
        return fallback;
    return static_cast<int>(mode % 3);
}

void openPort()
{
    if (!serialLink().openComPort(settings().comPort + 1))
        serialLink().showPortOpenError();
}

} // namespace

QString portNotOpen()
{
    return QStringLiteral("die Schnittstelle ") + settings().comPortName() + QStringLiteral(" nicht geöffnet ist");
}

void loadComSettings()
{
    StationSettings &s = settings();
    s.comMode = kModeConverter;
    s.comPort = portIndex(readIni(kCom, QStringLiteral("Port"), QStringLiteral("1")));
    s.bluetoothAktiv = numbertext::leadingNumber(readIni(kCom, QStringLiteral("Bluetooth"), QStringLiteral("0"))) != 0;
    if (s.bluetoothAktiv)
        s.comMode = kModeBluetooth;
    s.comMode = connectionMode(readIni(kCom, QStringLiteral("ComMode"), QString::number(s.comMode)), s.comMode);
    appView().showComSettings(s.comPort, s.comMode);
    openPort();
    loadInstanzname();
}

void saveComSettings()
{
    writeIniDirect(kCom, QStringLiteral("Port"), QString::number(settings().comPort));
    writeIniDirect(kCom, QStringLiteral("ComMode"), QString::number(settings().comMode));
    openPort();
}
