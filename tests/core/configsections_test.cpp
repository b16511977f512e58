#include "core/configsections.h"
#include "core/oledate.h"
#include "core/refreshhooks.h"
#include "core/stationini.h"
#include "core/stationsettings.h"

#include "logentries.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class ConfigSections : public ::testing::Test
{
protected:
    ConfigSections() { settings() = StationSettings{}; }
    ~ConfigSections() override
    {
        settings() = StationSettings{};
        refreshHooks() = RefreshHooks{};
    }
    void useIni(const QByteArray &text) { folder.write(QStringLiteral("Nuvax.ini"), text); }

    TempAppFolder folder;
    FakeClock clock;
    RecordingView view;
    ScriptedPrompts prompts;
};

// Scrambles every value, so a load that leaves one alone shows.
void scramble()
{
    StationSettings &s = settings();
    s.pruefung = {true, 9, 9, 9, QTime(1, 2, 3)};
    s.dauertest = {true, 9, 9, 9, QTime(1, 2, 3)};
    s.akkulaufzeit = 9;
    s.signalAdr = 9;
    s.sigResultAktiv = true;
}

} // namespace

TEST_F(ConfigSections, NoIniFileGivesTheDefaults)
{
    scramble();
    int apRefreshes = 0;
    refreshHooks().aktualisiereAPAnzeige = [&] { ++apRefreshes; };
    loadAutoPruefungConfig();
    loadInstanzname();

    const StationSettings &s = settings();
    EXPECT_FALSE(s.pruefung.aktiv);
    EXPECT_EQ(s.pruefung.intervall, 2);
    EXPECT_EQ(s.pruefung.monat, 0);
    EXPECT_EQ(s.pruefung.tag, 6);
    EXPECT_EQ(s.pruefung.zeit, QTime(12, 0));
    EXPECT_FALSE(s.dauertest.aktiv);
    EXPECT_EQ(s.dauertest.intervall, 1);
    EXPECT_EQ(s.dauertest.tag, 6);
    EXPECT_EQ(s.dauertest.zeit, QTime(5, 0));
    EXPECT_EQ(s.akkulaufzeit, 0);
    EXPECT_EQ(s.signalAdr, 0);
    EXPECT_FALSE(s.sigResultAktiv);
    EXPECT_EQ(apRefreshes, 1);
    EXPECT_EQ(view.caption, QStringLiteral("Nuvax PC-Zentrale"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Nuvax.ini"))));
}

TEST_F(ConfigSections, ValuesAreCheckedBeforeTheyAreRounded)
{
    const struct
    {
        const char *section;
        const char *key;
        const char *text;
        int expected;
    } cases[] = {
        {"Pruefung", "intervall", "3", 3},     {"Dauertest", "intervall", "3", 1},
        {"Pruefung", "intervall", "2.5", 2},   {"Pruefung", "intervall", "3.4", 2},
        {"Pruefung", "intervall", "-0.2", 2},  {"Pruefung", "intervall", "abc", 0},
        {"Pruefung", "intervall", "1x", 1},    {"Pruefung", "monat", "11.5", 0},
        {"Pruefung", "monat", "10.5", 10},     {"Pruefung", "tag", "7", 6},
        {"Dauertest", "tag", "0", 0},          {"Dauertest", "akkulaufzeit", " 3 ", 3},
        {"Dauertest", "akkulaufzeit", "2", 0}, {"Dauertest", "akkulaufzeit", "1.2", 0},
        {"AP", "SignalAdr", "1000", 0},        {"AP", "SignalAdr", "999.4", 0},
        {"AP", "SignalAdr", "998.5", 998},       {"AP", "SignalAdr", "\"12\"", 12},
    };
    for (const auto &c : cases) {
        useIni(QByteArray("[") + c.section + "]\r\n" + c.key + "=" + c.text + "\r\n");
        scramble();
        loadAutoPruefungConfig();
        const StationSettings &s = settings();
        const TestSchedule &schedule = QByteArray(c.section) == "Dauertest" ? s.dauertest : s.pruefung;
        const QByteArray key(c.key);
        const int actual = key == "intervall" ? schedule.intervall
                         : key == "monat"     ? schedule.monat
                         : key == "tag"       ? schedule.tag
                         : key == "akkulaufzeit" ? s.akkulaufzeit
                                                 : s.signalAdr;
        EXPECT_EQ(actual, c.expected) << c.section << " " << c.key << "=" << c.text;
    }
}

TEST_F(ConfigSections, TimesAndTruthValues)
{
    const struct
    {
        const char *zeit;
        QTime expected;
    } times[] = {
        {"7:30", QTime(7, 30)}, {"07:30:15", QTime(7, 30, 15)}, {"25:00", QTime(12, 0)},
        {"12:60", QTime(12, 0)}, {"mittags", QTime(12, 0)}, {"", QTime(12, 0)},
    };
    for (const auto &t : times) {
        useIni(QByteArray("[Pruefung]\r\nzeit=") + t.zeit + "\r\n");
        loadAutoPruefungConfig();
        EXPECT_EQ(settings().pruefung.zeit, t.expected) << t.zeit;
    }

    const struct
    {
        const char *text;
        bool expected;
    } truths[] = {
        {"True", true}, {"FALSE", false}, {"wahr", true}, {"Falsch", false},
        {"-1", true},   {"0", false},     {"2.5", true},  {"ja", false},
    };
    for (const auto &t : truths) {
        useIni(QByteArray("[Dauertest]\r\naktiv=") + t.text + "\r\n[AP]\r\nSigResultAktiv=" + t.text + "\r\n");
        loadAutoPruefungConfig();
        EXPECT_EQ(settings().dauertest.aktiv, t.expected) << t.text;
        EXPECT_EQ(settings().sigResultAktiv, t.expected) << t.text;
    }
}

TEST_F(ConfigSections, ValuesLongerThanTheBufferAreCut)
{
    const QByteArray longName(1500, 'n');
    useIni("[Program]\r\nInstanzname=" + longName + "\r\nWindowTop=" + QByteArray(120, '1') + "\r\n");
    loadInstanzname();
    EXPECT_EQ(view.instanzname, QString(1023, u'n'));
    EXPECT_EQ(view.caption, QStringLiteral("Nuvax PC-Zentrale - ") + QString(1023, u'n'));
    // 99 digits are far beyond any screen: the key counts as unreadable.
    view.geometry = QRect(0, 0, 800, 600);
    view.screen = QSize(1920, 1080);
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(560, 240, 800, 600));
}

TEST_F(ConfigSections, InstanceNameOfOneCharacterStillGetsItsSuffix)
{
    useIni("[Program]\r\nInstanzname=B\r\n");
    loadInstanzname();
    EXPECT_EQ(settings().instanzname, QStringLiteral("B"));
    EXPECT_EQ(view.caption, QStringLiteral("Nuvax PC-Zentrale - B"));
    EXPECT_EQ(view.instanznameShows, 1);
}

TEST_F(ConfigSections, WindowPlaceIsKeptInTwips)
{
    view.geometry = QRect(0, 0, 801, 600);
    view.screen = QSize(1920, 1080);
    useIni("[Program]\r\nWindowHeight=4500\r\nWindowLeft=abc\r\n");
    loadWindowPos();
    // The centring uses the size before the stored height is applied: (1920 - 801) / 2
    // pixels is 8392.5 twips, rounded to even: 8392 twips, 559 pixels.
    EXPECT_EQ(view.geometry, QRect(559, 240, 801, 300));

    view.geometry = QRect(10, 20, 640, 480);
    saveWindowPos();
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")),
              QByteArray("[Program]\r\nWindowHeight=7200\r\nWindowLeft=150\r\n"
                         "WindowTop=300\r\nWindowWidth=9600\r\n"));
    view.geometry = QRect();
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(10, 20, 640, 480));
}

TEST_F(ConfigSections, SavedSettingsReadBackUnchanged)
{
    StationSettings &s = settings();
    s.pruefung = {true, 3, 4, 0, QTime(7, 30)};
    s.dauertest = {false, 0, 11, 5, QTime(23, 59, 59)};
    s.akkulaufzeit = 3;
    s.signalAdr = 17;
    s.sigResultAktiv = true;
    EXPECT_TRUE(saveAutoPruefungConfig());
    EXPECT_TRUE(saveSignalConfig());
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")),
              QByteArray("[Pruefung]\r\naktiv=True\r\nintervall=3\r\nmonat=4\r\ntag=0\r\nzeit=07:30:00\r\n"
                         "[Dauertest]\r\naktiv=False\r\nintervall=0\r\nmonat=11\r\ntag=5\r\nzeit=23:59:59\r\n"
                         "akkulaufzeit=3\r\n[AP]\r\nSignalAdr=17\r\nSigResultAktiv=True\r\n"));

    const StationSettings saved = s;
    scramble();
    loadAutoPruefungConfig();
    EXPECT_EQ(s.pruefung.zeit, saved.pruefung.zeit);
    EXPECT_EQ(s.dauertest.monat, 11);
    EXPECT_EQ(s.akkulaufzeit, 3);
    EXPECT_EQ(s.signalAdr, 17);
    EXPECT_TRUE(s.sigResultAktiv);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ConfigSections, UnwritableIniShowsTheWriteRightsBoxForEachSave)
{
    QDir().mkpath(folder.file(QStringLiteral("Nuvax.ini")));
    EXPECT_FALSE(saveAutoPruefungConfig());
    EXPECT_FALSE(saveSignalConfig());

    const QString path = folder.path() + QStringLiteral("Nuvax.ini");
    ASSERT_EQ(prompts.shown.size(), 2);
    for (const auto &box : prompts.shown) {
        EXPECT_EQ(box.text, QStringLiteral("Fehler beim Speichern der Konfiguration!\r\n"
                                           "Stellen Sie sicher, dass das Programm Schreibrechte auf die Datei '")
                                + path
                                + QStringLiteral("' hat.\r\nSolange das Problem weiterbesteht, kann die "
                                                 "Prüfung nicht fortgesetzt werden!"));
        EXPECT_EQ(box.title, QStringLiteral("Nuvax"));
        EXPECT_EQ(box.icon, Prompts::Icon::Critical);
    }
    EXPECT_EQ(generalLogEntries(folder),
              (QStringList{QStringLiteral("WARNUNG: Fehlende Schreibrechte auf '") + path + u'\'',
                           QStringLiteral("Fehler beim Speichern der Konfiguration für Autoprüfung: "),
                           QStringLiteral("Fehler beim Speichern der Konfiguration für Autoprüfung: ")}));
}

TEST(IniText, DateTimesOfTheLastRun)
{
    const QDateTime run(QDate(2024, 3, 31), QTime(2, 5, 9));
    EXPECT_EQ(initext::dateTimeText(run), QStringLiteral("31.03.2024 02:05:09"));
    EXPECT_EQ(initext::dateTimeText(oledate::zero()), QStringLiteral("0"));
    EXPECT_EQ(initext::parseDateTime(QStringLiteral("31.03.2024 02:05:09")), run);
    EXPECT_EQ(initext::parseDateTime(QStringLiteral("2024-03-31T02:05:09")), run);
    EXPECT_EQ(initext::parseDateTime(QStringLiteral("1.4.2024")), QDateTime(QDate(2024, 4, 1), QTime(0, 0)));
    EXPECT_EQ(initext::parseDateTime(QStringLiteral("00:00:00")), oledate::zero());
    for (const char *never : {"0", "", "gestern", "31.02.2024", "31.03.2024 25:00"})
        EXPECT_EQ(initext::parseDateTime(QString::fromUtf8(never)), oledate::zero()) << never;
}
