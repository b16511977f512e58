#include "core/files/configsections.h"
#include "core/files/stationini.h"
#include "core/platform/oledate.h"

#include "support/stationfiles.h"

#include <QDir>

namespace {

class ConfigSections : public StationFiles
{
protected:
    // Loads the schedules from this ini text, with every value scrambled first
    // so that a key left alone shows.
    const StationSettings &load(const QByteArray &ini)
    {
        folder.write(QStringLiteral("Nuvax.ini"), ini);
        StationSettings &s = settings();
        s.pruefung = s.dauertest = {true, 9, 9, 9, QTime(1, 2, 3)};
        s.akkulaufzeit = s.signalAdr = 9;
        s.sigResultAktiv = true;
        loadAutoPruefungConfig();
        return s;
    }
};

} // namespace

TEST_F(ConfigSections, DefaultsAndTheRulesOfEachKey)
{
    int apRefreshes = 0;
    refreshHooks().aktualisiereAPAnzeige = [&] { ++apRefreshes; };
    const StationSettings &s = load("");
    EXPECT_EQ(apRefreshes, 1);
    const auto schedule = [](const TestSchedule &t) { return std::tuple(t.aktiv, t.intervall, t.monat, t.tag, t.zeit); };
    EXPECT_EQ(schedule(s.pruefung), std::tuple(false, 2, 0, 6, QTime(12, 0)));
    EXPECT_EQ(schedule(s.dauertest), std::tuple(false, 1, 0, 6, QTime(5, 0)));
    EXPECT_EQ(std::tuple(s.akkulaufzeit, s.signalAdr, s.sigResultAktiv), std::tuple(0, 0, false));

    // Ranges are tested on the number as written, before it is rounded.
    using Get = int (*)(const StationSettings &);
    const struct { const char *ini; Get get; int expected; } cases[] = {
        {"[Pruefung]\nintervall=3", [](const StationSettings &t) { return t.pruefung.intervall; }, 3},
        {"[Dauertest]\nintervall=3", [](const StationSettings &t) { return t.dauertest.intervall; }, 1},
        {"[Pruefung]\nintervall=2.5", [](const StationSettings &t) { return t.pruefung.intervall; }, 2},
        {"[Pruefung]\nintervall=3.4", [](const StationSettings &t) { return t.pruefung.intervall; }, 2},
        {"[Pruefung]\nintervall=abc", [](const StationSettings &t) { return t.pruefung.intervall; }, 0},
        {"[pruefung]\nMONAT=10.5", [](const StationSettings &t) { return t.pruefung.monat; }, 10},
        {"[Dauertest]\ntag=7", [](const StationSettings &t) { return t.dauertest.tag; }, 6},
        {"[Dauertest]\nakkulaufzeit= 3 ", [](const StationSettings &t) { return t.akkulaufzeit; }, 3},
        {"[Dauertest]\nakkulaufzeit=2", [](const StationSettings &t) { return t.akkulaufzeit; }, 0},
        {"[AP]\nSignalAdr=1000", [](const StationSettings &t) { return t.signalAdr; }, 0},
        {"[AP]\nSignalAdr=999.4", [](const StationSettings &t) { return t.signalAdr; }, 0},
        {"[AP]\nSignalAdr=\"998.5\"", [](const StationSettings &t) { return t.signalAdr; }, 998},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.get(load(c.ini)), c.expected) << c.ini;
}

TEST_F(ConfigSections, TimesAndTruthValues)
{
    const struct { const char *zeit; QTime expected; } times[] = {
        {"7:30", QTime(7, 30)}, {"07:30:15", QTime(7, 30, 15)}, {"25:00", QTime(12, 0)}, {"mittags", QTime(12, 0)},
    };
    for (const auto &t : times)
        EXPECT_EQ(load(QByteArray("[Pruefung]\nzeit=") + t.zeit).pruefung.zeit, t.expected) << t.zeit;
    const struct { const char *text; bool expected; } truths[] = {
        {"wahr", true}, {"FALSCH", false}, {"-1", true}, {"ja", false},
    };
    for (const auto &t : truths) {
        const StationSettings &s = load(QByteArray("[Dauertest]\naktiv=") + t.text + "\n[AP]\nSigResultAktiv=" + t.text);
        EXPECT_EQ(std::pair(s.dauertest.aktiv, s.sigResultAktiv), std::pair(t.expected, t.expected)) << t.text;
    }
    const QDateTime run(QDate(2024, 3, 31), QTime(2, 5, 9));
    EXPECT_EQ(initext::parseDateTime(initext::dateTimeText(run)), run);
    EXPECT_EQ(initext::parseDateTime(QStringLiteral("2024-03-31T02:05:09")), run);
    for (const char *never : {"0", "00:00:00", "31.02.2024", "31.03.2024 25:00"})
        EXPECT_EQ(initext::parseDateTime(QString::fromUtf8(never)), oledate::zero()) << never;
}

TEST_F(ConfigSections, InstanceNameAndWindowPlace)
{
    folder.write(QStringLiteral("Nuvax.ini"), "[Program]\nInstanzname=B\nWindowHeight=4500\nWindowLeft=abc\n");
    loadInstanzname();
    EXPECT_EQ(settings().instanzname, QStringLiteral("B"));
    EXPECT_EQ(view.caption, QStringLiteral("Nuvax PC-Zentrale - B"));

    // Centred by the size before the stored height applies: (1920 - 801) / 2 pixels
    // is 8392.5 twips, rounded to even 8392, which is 559 pixels.
    view.geometry = QRect(0, 0, 801, 600);
    view.screen = QSize(1920, 1080);
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(559, 240, 801, 300));

    view.geometry = QRect(10, 20, 640, 480);
    saveWindowPos();
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")),
              QByteArray("[Program]\r\nInstanzname=B\r\nWindowHeight=7200\r\nWindowLeft=150\r\n"
                         "WindowTop=300\r\nWindowWidth=9600\r\n"));
    view.geometry = QRect();
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(10, 20, 640, 480));

    // Only 1023 characters of a value are seen, 99 of a window key (too many digits: unreadable).
    folder.write(QStringLiteral("Nuvax.ini"), "[Program]\nInstanzname=" + QByteArray(1500, 'n') + "\nWindowTop=" + QByteArray(120, '1'));
    loadInstanzname();
    EXPECT_EQ(view.instanzname, QString(1023, u'n'));
    view.geometry = QRect(0, 0, 800, 600);
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(560, 240, 800, 600));
}

TEST_F(ConfigSections, SavedSettingsText)
{
    settings().pruefung = {true, 3, 4, 0, QTime(7, 30)};
    settings().dauertest = {false, 0, 11, 5, QTime(23, 59, 59)};
    settings().akkulaufzeit = 3;
    settings().signalAdr = 17;
    settings().sigResultAktiv = true;
    EXPECT_TRUE(saveAutoPruefungConfig());
    EXPECT_TRUE(saveSignalConfig());
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")),
              QByteArray("[Pruefung]\r\naktiv=True\r\nintervall=3\r\nmonat=4\r\ntag=0\r\nzeit=07:30:00\r\n"
                         "[Dauertest]\r\naktiv=False\r\nintervall=0\r\nmonat=11\r\ntag=5\r\nzeit=23:59:59\r\n"
                         "akkulaufzeit=3\r\n[AP]\r\nSignalAdr=17\r\nSigResultAktiv=True\r\n"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ConfigSections, UnwritableIniShowsTheWriteRightsBoxForEachSave)
{
    // A folder in place of the file: no write succeeds, even as root.
    QDir().mkpath(folder.file(QStringLiteral("Nuvax.ini")));
    EXPECT_FALSE(saveAutoPruefungConfig());
    EXPECT_FALSE(saveSignalConfig());

    const QString path = folder.path() + QStringLiteral("Nuvax.ini");
    ASSERT_EQ(prompts.shown.size(), 2);
    for (const auto &box : prompts.shown) {
        EXPECT_EQ(box.text, QStringLiteral("Fehler beim Speichern der Konfiguration!\r\nStellen Sie sicher, dass "
                                           "das Programm Schreibrechte auf die Datei '")
                                + path + QStringLiteral("' hat.\r\nSolange das Problem weiterbesteht, kann die "
                                                        "Prüfung nicht fortgesetzt werden!"));
        EXPECT_EQ(std::pair(box.title, box.icon), std::pair(QStringLiteral("Nuvax"), Prompts::Icon::Critical));
    }
    const QString failed = QStringLiteral("Fehler beim Speichern der Konfiguration für Autoprüfung: ");
    EXPECT_EQ(log(),
              (QStringList{QStringLiteral("WARNUNG: Fehlende Schreibrechte auf '") + path + u'\'', failed, failed}));
}
