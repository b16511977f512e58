// "Nuvax.ini" of any bytes through every load of the program's settings (port
// and mode, instance name, window place, test schedules, result signal, the
// tests' running states); the loaded settings are saved and loaded again and
// must come back as they were.
#include "fuzzstation.h"

#include "core/files/configsections.h"
#include "core/station/stationsettings.h"
#include "core/station/stationview.h"
#include "device/autotest/autoteststate.h"
#include "device/link/comsettings.h"

#include <QRect>

namespace {

// A window whose place the station sets and reads back.
class WindowPlace : public StationView
{
public:
    QRect windowGeometry() const override { return m_rect; }
    void setWindowGeometry(const QRect &rect) override { m_rect = rect; }
    QSize screenSize() const override { return {1920, 1080}; }

    QRect m_rect{0, 0, 1000, 700};
};

struct Loaded
{
    StationSettings s;
    QRect window;
};

Loaded loadAll(WindowPlace &view)
{
    settings() = StationSettings{};
    view.m_rect = QRect(0, 0, 1000, 700);
    loadComSettings();   // also the instance name; the port does not open here
    loadAutoPruefungConfig();
    loadWindowPos();
    // What the tick reads every second.
    pruefungIsRunning();
    dauertestIsRunning();
    getPruefungLastRun();
    getDauertestLastRun();
    return {settings(), view.m_rect};
}

bool same(const TestSchedule &a, const TestSchedule &b)
{
    return a.aktiv == b.aktiv && a.intervall == b.intervall && a.monat == b.monat && a.tag == b.tag
           && a.zeit == b.zeit;
}

bool same(const Loaded &a, const Loaded &b)
{
    return a.s.instanzname == b.s.instanzname && a.s.comPort == b.s.comPort && a.s.comMode == b.s.comMode
           && a.s.bluetoothAktiv == b.s.bluetoothAktiv && same(a.s.pruefung, b.s.pruefung)
           && same(a.s.dauertest, b.s.dauertest) && a.s.akkulaufzeit == b.s.akkulaufzeit
           && a.s.signalAdr == b.s.signalAdr && a.s.sigResultAktiv == b.s.sigResultAktiv
           && a.window == b.window;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzStation &station = FuzzStation::get();
    static WindowPlace view;
    installView(&view);
    station.freshFolder();
    station.write(QStringLiteral("Nuvax.ini"), fuzzBytes(data, size));

    const Loaded first = loadAll(view);
    fuzzCheck(first.s.comPort >= 0 && first.s.comPort < 10, "a port of the list");
    fuzzCheck(first.s.comMode >= 0 && first.s.comMode < 3, "a mode of the list");

    saveComSettings();
    saveAutoPruefungConfig();
    saveSignalConfig();
    saveWindowPos();

    fuzzCheck(same(first, loadAll(view)), "the settings come back as they were saved");
    return 0;
}
