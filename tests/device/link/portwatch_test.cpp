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

} // namespace
