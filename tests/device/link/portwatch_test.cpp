// The watch's box when the line breaks again and again, and the same for the other cause that timed work
// meets after every test: "Units.dat" that cannot be saved.
#include "support/busfixture.h"

#include "core/registry/unitsfile.h"

#include <QDir>
#include <functional>

namespace {

using PortWatch = BusFixture;

// Nobody at the screen: three in a row leave one box that tells the third with its time and counts three;
// after its OK the fourth opens it again, counting from one. Each keeps its own general-log entry.
TEST_F(PortWatch, ACauseThatRepeatsLeavesOneBoxThatCountsUntilItsOk)
{
    settings().comPort = 0;
    const QString lost = "Die Verbindung zur Schnittstelle COM1 wurde unterbrochen: 'Resource error'. Die Schnittstelle "
                         "wird jede Minute neu geöffnet, bis sie wieder bereit ist.";
    const QString back = "Die Schnittstelle COM1 wurde wieder geöffnet.";
    const QString unsaved = "Fehler beim Zugriff auf Pfad/Datei";
    const struct { const char *cause; std::function<void()> occur; QString title, text, counted; QStringList logged; } causes[] = {
        {"line", [&] { bus.hangUp(); }, "COM", lost, "Unterbrechungen", {lost, back, lost, back, lost, back, lost, back}},
        {"Units.dat", [] { UnattendedScope timedWork; saveUnits(false); }, "Fehler: 75",
         "Beim Speichern der Geräteliste ist folgender fehler aufgetreten:\r\n" + unsaved,
         "Fehlgeschlagene Speicherversuche", QStringList(4, "Fehler beim Speichern der Geräteliste: " + unsaved)},
    };
    QDir().mkpath(folder.file("Units.dat"));
    for (const auto &c : causes) {
        prompts.shown.clear();
        const qsizetype logged = logEntries().size();
        QStringList times;
        for (int n = 1; n <= 4; ++n) {
            if (n == 4)
                prompts.pressOk(prompts.shown.value(0).key);
            times.append(clock.localNow().toString("dd.MM.yyyy HH:mm:ss"));
            c.occur();
            tickUntil(clock.localNow().addSecs(61));
        }
        const auto told = [&](int n, int count) {
            return std::tuple(c.text + "\r\nZeitpunkt: " + times[n - 1] + "\r\n\r\n" + c.counted
                                  + " seit dem Erscheinen dieser Meldung: " + QString::number(count),
                              c.title, true);
        };
        ASSERT_EQ(prompts.shown.size(), 2) << c.cause;
        EXPECT_EQ(std::tuple(prompts.shown[0].text, prompts.shown[0].title, prompts.shown[0].isNotice), told(3, 3));
        EXPECT_EQ(std::tuple(prompts.shown[1].text, prompts.shown[1].title, prompts.shown[1].isNotice), told(4, 1));
        EXPECT_EQ(logEntries().mid(logged), c.logged) << c.cause;
    }
}

// A port another process holds: the box and one general-log entry name the holder, and its lock file once the
// holder has ended; the watch's tries log only a new cause, and take the port once it is free.
TEST_F(PortWatch, AHeldPortNamesItsHolderOnceForEachCauseAndIsTakenWhenFree)
{
    settings().comPort = 0;
    SerialLink &link = serialLink();
    const QString inUse = "Die Schnittstelle COM1 wird bereits von Prozess 4711 verwendet.";
    const QString stale = "Die Schnittstelle COM1 ist durch die Sperrdatei /var/lock/LCK..ttyS0 des beendeten Prozesses "
                          "4711 gesperrt. Diese Datei muss entfernt werden.";
    const QString driver = "Permission error while locking the device";
    bus.failOpen(driver, {4711, {}});
    for (int n = 0; n < 2; ++n) {
        ASSERT_FALSE(link.openComPort(1));
        link.showPortOpenError();
    }
    tickUntil(clock.localNow().addSecs(61));
    bus.failOpen(driver, {4711, "/var/lock/LCK..ttyS0"});
    tickUntil(clock.localNow().addSecs(122));
    bus.failOpen({});
    tickUntil(clock.localNow().addSecs(61));
    EXPECT_TRUE(link.portOpen());
    bus.failOpen("No such file or directory");
    ASSERT_FALSE(link.openComPort(1));
    link.showPortOpenError();

    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(std::tuple(prompts.shown[0].text, prompts.shown[0].title, prompts.shown[0].icon),
              std::tuple("Fehler beim Öffnen der Schnittstelle: \r\n'" + inUse + "'\r\nBitte wählen Sie eine andere "
                         "Konfiguration", "COM", Prompts::Icon::Critical));
    EXPECT_EQ(logEntries(), QStringList({inUse, stale, "Die Schnittstelle COM1 wurde wieder geöffnet.",
                                         "Fehler beim Öffnen der Schnittstelle COM1: 'No such file or directory'"}));
}

// Another program reads on the port (costing no line: serial port test): told once for the port, in the log and
// in the port's standing box, where a break of the line that follows counts from one again.
TEST_F(PortWatch, AnotherReaderIsToldOnceForThePortInItsStandingBox)
{
    settings().comPort = 0;
    const QString reader = "Ein anderes Programm liest ebenfalls von der Schnittstelle COM1. Meldungen der Geräte "
                           "können dabei verloren gehen.";
    bus.hangUp();
    tickUntil(clock.localNow().addSecs(61));
    const QString time = clock.localNow().toString("dd.MM.yyyy HH:mm:ss");
    bus.readElsewhere();
    bus.readElsewhere();
    EXPECT_EQ(std::pair(prompts.shown.value(0).text, prompts.shown.value(0).key),
              std::pair(reader + "\r\nZeitpunkt: " + time, QString("portLost")));
    bus.hangUp();
    tickUntil(clock.localNow().addSecs(61));
    bus.readElsewhere();

    EXPECT_EQ(logEntries().filter("anderes Programm"), QStringList({reader}));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.endsWith("Unterbrechungen seit dem Erscheinen dieser Meldung: 1"));
}

} // namespace
