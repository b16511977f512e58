#include "support/berlintime.h"
#include "support/busfixture.h"

#include "core/files/stationini.h"
#include "core/logs/generallog.h"
#include "core/logs/keptentries.h"
#include "core/platform/oledate.h"
#include "core/registry/unitdescription.h"
#include "core/station/stoprequest.h"
#include "device/autotest/autotestpoll.h"
#include "device/autotest/autotestschedule.h"
#include "device/tasks/tasktable.h"

#include <QDir>
#include <QRegularExpression>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

using Frames = QList<QPair<qint64, QString>>;
const QString kTestLog = "AutoTest_2011_03_07.log";

// The lines a test writes below the header of its log.
QString details(const QString &log)
{
    const QString mark = "Details der Prüfung:\r\n--------------------\r\n\r\n";
    const qsizetype i = log.indexOf(mark);
    return i < 0 ? QString() : log.mid(i + mark.size());
}

using AutoTest = BusFixture;

class TestRun : public BusFixture, public ::testing::WithParamInterface<int>
{
protected:
    TestRun() : BusFixture(at(4, 59, 58)) {}
};

// Param 0: a function test; 1, 2: a duration test with a battery duration of 0 or 1 h. Each from its minute
// (05:00): broadcasts, countdown, the poll with three tries, closing frames, its log and the units' states.
TEST_P(TestRun, FromItsMinuteThroughThePollToItsClosingFrames)
{
    const bool dauertest = GetParam() > 0;
    const int akku = std::max(0, GetParam() - 1);
    const QString idle = "Warte auf geplantes Ereignis . . .";
    const struct { std::array<int, 3> types; int tries7; QString count60, count1; QDateTime count1At; Frames broadcasts;
                   qint64 pollAt; QString requests; Frames closing; const char *details; } runs[] = {
        {{kType0701, kType0401, kType0901}, 2, "Abfrage in 60 Sekunden", "Abfrage in 1 Sekunden", at(5, 1, 8, 999),
         {{0, "\nALLP00"}, {700, "\nALLi00"}, {1400, "\nALLP00"}, {2800, "\nALLi00"}, {4200, "\nALLP00"}, {6300, "\nALLi00"}},
         69000, "\n003S00\n005S00\n005S00\n005S00\n007S00\n007S00", // 60 s from the broadcasts' end at 8.4 s, next tick
         {{0, "\nALLp00"}, {500, "\nALLp00"}, {1000, "\nALLp00"}, {1500, "\n050E00"}},
         "Abfrage der Geräte gestartet am: 07.03.2011 %1:01\r\n\r\nAdresse 003\r\n\tTyp: Pallex\r\n\tStatus: OK\r\n\r\n"
         "Adresse 005\r\n\tTyp: QOR07\r\n\tStatus: FEHLER\r\n\tBeschreibung: Treppenhaus\r\n"
         "\tFEHLER: Keine oder fehlerhafte Antwort\r\n\r\n\r\n"
         "Adresse 007\r\n\tTyp: Ivenor\r\n\tStatus: OK\r\n\r\n\r\n\r\nAutoprüfung beendet am: 07.03.2011 %1:01\r\n"},
        {{kType0403, kType0501, kType2002}, 1, akku ? "Gerätebfrage in 60 Minuten" : idle, akku ? "Gerätebfrage in 1 Minuten" : "",
         at(5, 59, 59, 999), {{0, "\nALLT00"}, {500, "\nALLi00"}, {1000, "\nALLT00"}, {1500, "\nALLi00"}, {2000, "\nALLT00"},
         {2500, "\nALLi00"}}, akku == 0 ? 3000 : 3603000, "\n005S00\n005S00\n005S00\n007S00", // 3 unasked
         {{0, "\nALLP00"}, {500, "\nALLP00"}, {1000, "\nALLP00"}, {61500, "\nALLR00"}, {62000, "\nALLR00"}, {62500, "\nALLR00"}},
         "Abfrage gestartet am: 07.03.2011 %1:00\r\nAdresse 005\r\n\tTyp:\t\t\tWNT3-H\r\n\tStatus:\t\tFEHLER\r\n"
         "\tBeschreibung: \r\n\tFEHLER: Keine oder fehlerhafte Antwort\r\n\r\n\r\n"
         "Adresse 007\r\n\tTyp: Dravik-Regler\r\n\tStatus: OK\r\n\r\n\r\n\r\nAutoprüfung beendet am: 07.03.2011 %1:01\r\n"},
    };
    const auto &r = runs[dauertest];
    *(dauertest ? &settings().dauertest : &settings().pruefung) = TestSchedule{true, 2, 0, 0, QTime(5, 0)};
    settings().akkulaufzeit = akku;
    settings().sigResultAktiv = true, settings().signalAdr = 50;
    unit(3, r.types[0]);
    units().at(3).state = kStateOk;
    unit(5, r.types[1]).silent = true;
    unit(7, r.types[2]).answerAtTry = r.tries7;
    if (!dauertest)
        units().at(5).description = fixedWidth("Treppenhaus", kDescriptionWidth);
    // The operator presses the duration test's button while the units of the function test are polled.
    int started = -1;
    QString reason;
    view.onStatus = [&](const QString &text) {
        if (text == "Frage Adresse 3 ab...") {
            kannTestStarten(kArtDauertest, &reason);
            started = starteAutoPruefung(kArtDauertest);
        }
    };
    tickUntil(at(5, 0));
    const qint64 t0 = clock.monotonicMs();
    tickUntil(at(5, 0, 1));
    EXPECT_EQ(view.panels.value(2), r.count60);
    if (!r.count1.isEmpty()) {
        tickUntil(r.count1At);
        EXPECT_EQ(view.panels.value(2), r.count1);
    }
    tickUntil(at(5 + akku, 1, 30));

    Frames frames = framesFrom(t0);
    const qsizetype n = 6 + r.requests.count("S00");
    ASSERT_EQ(frames.size(), n + r.closing.size());
    EXPECT_EQ(frames.mid(0, 6), r.broadcasts);
    EXPECT_TRUE(frames[6].first >= r.pollAt && frames[6].first < r.pollAt + 100) << frames[6].first;
    EXPECT_EQ(bus.writes().filter("S00").join(""), r.requests);
    for (qsizetype i = frames.size() - 1; i >= n; --i)
        frames[i].first -= frames[n].first;
    EXPECT_EQ(frames.mid(n), r.closing);
    EXPECT_EQ(details(logText(kTestLog)), QString(r.details).arg(QString("0%1").arg(5 + akku)));
    EXPECT_EQ(std::tuple(units().at(3).state, units().at(5).state, dauertest ? dauertestIsRunning() : pruefungIsRunning(),
                         view.panels.value(2), view.labelColorRefreshes > 0),
              std::tuple(kStateOk, kStateFault, false, idle, true));
    if (dauertest)
        return;
    EXPECT_EQ(started, 1);
    EXPECT_EQ(reason, "Der Betriebsdauertest kann momentan nicht gestartet werden, da "
                      "gerade die Geräte der Prüfung abgefragt werden.");
    // The result signal needs its switch and a chosen unit.
    bus.clearWrites();
    for (auto [aktiv, adr] : {std::pair{false, 9}, std::pair{true, 0}, std::pair{true, 9}}) {
        settings().sigResultAktiv = aktiv, settings().signalAdr = adr;
        sendeErgebnisSignal();
    }
    EXPECT_EQ(bus.writes(), QStringList({"\n009E00"}));
}

INSTANTIATE_TEST_SUITE_P(FunctionAndDurationTests, TestRun, ::testing::Values(0, 1, 2));

QDateTime dt(const char *text) { return QDateTime::fromString(text, "dd.MM.yyyy HH:mm:ss"); }

// Monday 12:00 in March for every rule; 07.03.2011 and 14.03.2011 are Mondays.
TEST(IntervalRules, EachRuleAcrossItsBoundaries)
{
    const struct { const char *name; int intervall; const char *lastRun, *now; bool due; } rules[] = {
        {"yearly in its month and weekday", 0, "01.03.2010 12:00:00", "07.03.2011 12:00:00", true},
        {"yearly already run this year", 0, "10.01.2011 12:00:00", "07.03.2011 12:00:00", false},
        {"yearly in another month", 0, nullptr, "04.04.2011 12:00:00", false},
        {"monthly first run of the month", 1, "28.02.2011 12:00:00", "07.03.2011 12:00:00", true},
        {"monthly already run this month", 1, "07.03.2011 12:00:00", "14.03.2011 12:00:00", false},
        {"monthly twelve months after", 1, "01.03.2010 12:00:00", "07.03.2011 12:00:00", true},
        {"weekly next week", 2, "28.02.2011 12:00:00", "07.03.2011 12:00:59", true},
        {"weekly already run today", 2, "07.03.2011 12:00:00", "07.03.2011 12:00:30", false},
        {"weekly on another weekday", 2, nullptr, "08.03.2011 12:00:00", false},
        {"weekly a minute late", 2, nullptr, "07.03.2011 12:01:00", false},
        {"weekly a second early", 2, nullptr, "07.03.2011 11:59:59", false},
        {"daily any weekday", 3, "06.03.2011 12:00:00", "08.03.2011 12:00:00", true},
        {"daily already run today", 3, "08.03.2011 11:00:00", "08.03.2011 12:00:00", false},
    };
    for (const auto &r : rules) {
        const TestSchedule s{true, r.intervall, 2, 0, QTime(12, 0)};
        EXPECT_EQ(istFaellig(s, r.lastRun ? dt(r.lastRun) : oledate::zero(), dt(r.now), true), r.due) << r.name;
    }
    EXPECT_FALSE(istFaellig({true, 3, 2, 0, QTime(12, 0)}, oledate::zero(), dt("07.03.2011 12:00:00"), false))
        << "no daily duration test";
}

TEST_F(AutoTest, BothKindsDueInOneMinuteStartOnlyTheDurationTest)
{
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    settings().dauertest = {true, 2, 0, 0, QTime(12, 0)};
    settings().akkulaufzeit = 3;
    tickUntil(at(12, 1, 1));
    EXPECT_EQ(bus.writes(), QStringList({"\nALLT00", "\nALLi00", "\nALLT00", "\nALLi00", "\nALLT00", "\nALLi00"}));
    EXPECT_EQ(view.panels.value(2) + readIni("Pruefung", "LastRun", "|absent"), "Gerätebfrage in 180 Minuten|absent");
    EXPECT_TRUE(logText(kTestLog).contains("Art der Prüfung: Betriebsdauertest\r\n"));
}

TEST_F(AutoTest, SlotInsideALongPollStartsRightAfterItOnceAndTheClockRunsOn)
{
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    settings().dauertest = {true, 2, 0, 0, QTime(12, 2)};
    settings().akkulaufzeit = 3;
    for (int adr = 1; adr <= 40; ++adr)
        unit(adr, kType0701).silent = true;
    // "Units.dat" cannot be replaced: its box after the poll must not hold the station.
    QDir().mkpath(folder.file("Units.dat"));
    QStringList clockDuringPoll;
    view.onClock = [&](const QString &text) {
        if (autoTestRun().abfrageLaeuft && !clockDuringPoll.contains(text))
            clockDuringPoll << text;
    };
    tickUntil(at(12, 12));
    EXPECT_EQ(clockDuringPoll.join('|').remove("Montag 07.03.2011 12:0"), "1|2|3|4|5|6|7");

    const qsizetype end = bus.writes().lastIndexOf("\nALLp00");
    ASSERT_GT(end, 0);
    EXPECT_EQ(bus.writes().mid(end - 2).join(""), "\nALLp00\nALLp00\nALLp00\nALLT00\nALLi00\nALLT00\nALLi00\nALLT00\nALLi00");
    const QList<SimWrite> log = bus.writeLog();
    EXPECT_LT(log[end + 1].atMs - log[end].atMs, 1500) << "the first tick after the poll starts it";
    EXPECT_EQ(std::pair(getDauertestLastRun(), view.panels.value(2)), std::pair(at(12, 2), QString("Gerätebfrage in 176 Minuten")));
    EXPECT_EQ(logText("Allgemein.log").count("Betriebsdauertest für den Termin 07.03.2011 12:02 wurde verspätet"), 1);
    EXPECT_EQ(std::pair(box().isNotice, box().icon), std::pair(true, Prompts::Icon::Critical));
}

TEST_F(AutoTest, StateLeftByAnEndedProgramIsResetAndTheSlotRunsAgain)
{
    folder.write("Nuvax.ini", "[Pruefung]\r\nIsRunning=True\r\nLastRun=07.03.2011 11:00:00\r\n"
                              "[Dauertest]\r\nIsRunning=True\r\nLastRun=07.03.2011 05:00:00\r\n");
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    timerTick();
    EXPECT_EQ(std::tuple(readIni("Pruefung", "IsRunning", "") + readIni("Dauertest", "IsRunning", ""), getPruefungLastRun(),
                         getDauertestLastRun(), view.panels.value(2)),
              std::tuple("falsefalse", oledate::zero(), oledate::zero(), "Warte auf geplantes Ereignis . . ."));

    tickUntil(at(12, 0, 1));
    ASSERT_FALSE(bus.writes().isEmpty());
    EXPECT_EQ(std::tuple(bus.writes().first(), getPruefungLastRun(), readIni("Pruefung", "IsRunning", "")),
              std::tuple("\nALLP00", at(12, 0), "True"));
}

TEST_F(AutoTest, IniThatCannotBeWrittenStartsNothingAndSaysSoOnce)
{
    QDir().mkpath(folder.file("Nuvax.ini"));
    settings().pruefung = {true, 3, 0, 0, QTime(12, 0)};
    tickUntil(at(12, 1));
    EXPECT_TRUE(bus.writes().isEmpty() && !QFile::exists(folder.file("logs/" + kTestLog)));
    EXPECT_EQ(std::tuple(box().isNotice, box().icon, box().text.section("\r\n", 0, 0)),
              std::tuple(true, Prompts::Icon::Critical, "Fehler beim Speichern der Konfiguration!"))
        << "the tick never waits for an OK";
    // Tried once in its minute, not at every tick: one warning, and why the test did not start.
    const QString ini = folder.path() + "Nuvax.ini";
    EXPECT_EQ(logEntries(), QStringList({"WARNUNG: Fehlende Schreibrechte auf '" + ini + "'",
                                         "Prüfung für den Termin 07.03.2011 12:00 wurde nicht gestartet, weil die Datei '"
                                             + ini + "' nicht geschrieben werden kann!"}));
}

// Not open at the start: the slot is logged once, not at every tick, and starts when the port is back in
// its minute; a slot whose whole minute passes without the port is not made up once it is back. The
// operator's start is refused with the reason.
TEST_F(AutoTest, SlotDueWithThePortClosedIsLoggedOnceStartsWithinItsMinuteAndIsNotMadeUp)
{
    settings().comPort = 0;
    settings().pruefung = {true, 3, 0, 0, QTime(12, 0)};
    settings().dauertest = {true, 2, 0, 0, QTime(12, 4)};
    serialLink().reset();
    view.connectionHistory.clear();
    tickUntil(at(12, 3));
    bus.hangUp();
    bus.failOpen("No such file or directory");
    QString reason;
    EXPECT_EQ(starteAutoPruefung(kArtDauertest, {}, &reason), 1);
    EXPECT_EQ(reason, "Der Betriebsdauertest kann momentan nicht gestartet werden, da die Schnittstelle COM1 nicht "
                      "geöffnet ist.");
    tickUntil(at(12, 4, 30));
    bus.failOpen({});
    tickUntil(at(12, 5, 1));

    const QString notStarted = " wurde nicht gestartet, weil die Schnittstelle COM1 nicht geöffnet ist!";
    EXPECT_EQ(logEntries(), QStringList({"Prüfung für den Termin 07.03.2011 12:00" + notStarted,
                                         "Die Schnittstelle COM1 wurde wieder geöffnet.",
                                         "Die Verbindung zur Schnittstelle COM1 wurde unterbrochen: 'Resource error'. "
                                         "Die Schnittstelle wird jede Minute neu geöffnet, bis sie wieder bereit ist.",
                                         "Betriebsdauertest für den Termin 07.03.2011 12:04" + notStarted,
                                         "Die Schnittstelle COM1 wurde wieder geöffnet."}));
    EXPECT_EQ(std::tuple(bus.writes().count("\nALLP00"), bus.writes().count("\nALLT00"), getPruefungLastRun(),
                         readIni("Dauertest", "LastRun", "absent"), view.connectionHistory.count("Verbinde ...")),
              std::tuple(3, 0, at(12, 0, 58), "absent", 3));
    EXPECT_TRUE(box().isNotice) << "the failed try at 12:04 says nothing";
}

bool setImmutable(const QString &folder, bool on)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

TEST_F(AutoTest, StaleStateThatCannotBeClearedCountsNothingDown)
{
    folder.write("Nuvax.ini", "[Pruefung]\r\nIsRunning=True\r\n");
    // An immutable folder: its files stay readable, but nothing can replace them, even as root.
    if (!setImmutable(folder.path(), true))
        GTEST_SKIP() << "the file system keeps no immutable flag";
    tickUntil(at(12, 0, 3));
    setImmutable(folder.path(), false);
    EXPECT_EQ(view.panels.value(2) + readIni("Pruefung", "IsRunning", "|"), "Warte auf geplantes Ereignis . . .True");
    // Every tick met the file unwritable; the log, once it takes the kept entries, says so once.
    keptLogEntries().tryAgain();
    EXPECT_EQ(logEntries().filter(QStringLiteral("WARNUNG: Fehlende Schreibrechte")).size(), 1);
    // The folder of the logs could not be made either: that is told in a box of its own, which says so
    // once the kept entries are written.
    QStringList boxes;
    for (const ScriptedPrompts::Shown &shown : prompts.shown)
        boxes << shown.key + u'|' + shown.text.section("\r\n", 0, 0);
    boxes.sort();
    EXPECT_EQ(boxes, QStringList({"logUnwritten|Das Protokoll '" + folder.path()
                                      + "logs/Allgemein.log' war vom 07.03.2011 11:59:58 bis 07.03.2011 12:00:03 nicht "
                                      "beschreibbar; die aufbewahrten Einträge wurden nachgetragen.",
                                  "writeRights|Fehler beim Speichern der Konfiguration!"}));
}

TEST_F(AutoTest, NothingStartsOnceTheStationIsToldToEnd)
{
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    TaskRecord all;
    all.aktiv = all.alleEinheiten = true;
    all.uhrzeit = QDateTime(QDate(1899, 12, 30), QTime(12, 0));
    all.wochentage.fill(true), all.monate.fill(true);
    addTask(all);
    requestStop();
    tickUntil(at(12, 0, 5));
    clearStopRequest();

    EXPECT_EQ(std::tuple(bus.wire(), readIni("Pruefung", "LastRun", "absent"), QFile::exists(folder.file("logs/Allgemein.log"))),
              std::tuple("", "absent", false));
}

// The lines of a log that start an entry or a unit's block.
QStringList linesStarting(const QString &log, const QString &pattern)
{
    return log.split("\r\n").filter(QRegularExpression('^' + pattern));
}

// Line breaks pasted into descriptions, a task's description and the instance name go through a
// function test, a task and a unit's own message: every entry and block is one the station wrote.
TEST_F(AutoTest, LineBreaksInStoredTextsForgeNoEntryAndNoUnitBlock)
{
    const QString forged = "\r\n[01.01.2020 00:00:00] gefälscht";
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    settings().instanzname = QString("Halle") + QChar(0) + "3\x1b";
    unit(1, kType0701).silent = true;
    units().at(1).description = fixedWidth("Flur\r\nAdresse 099\r\n\tTyp: VARO3/VARO4\r\n\tStatus: OK", kDescriptionWidth);
    unit(2, kType0403).message = withAt(sampleMessage(kType0403, "002"), 13, "!");
    setDescriptionParts(2, {"Treppe" + forged, "Tür" + forged, "", ""});
    TaskRecord task;
    task.aktiv = true, task.beschreibung = "Nacht" + forged;
    task.uhrzeit = QDateTime(QDate(1899, 12, 30), QTime(12, 0));
    task.wochentage.fill(true), task.monate.fill(true), task.adressen[1] = true;
    addTask(task);
    QStringList statusTexts;
    view.onStatus = [&](const QString &text) { statusTexts << text; };
    tickUntil(at(12, 3));
    bus.send(withAt(withAt(sampleMessage(kType0403, "002"), 4, ".A"), 13, "!"));
    bus.advance(0);

    const QString testLog = logText(kTestLog);
    EXPECT_EQ(linesStarting(testLog, "Adresse"), QStringList({"Adresse 001", "Adresse 002"}));
    EXPECT_EQ(linesStarting(testLog, "\t(Status|STATUS)"), QStringList({"\tStatus: FEHLER", "\tStatus: FEHLER"}));
    EXPECT_TRUE(testLog.contains("\r\nInstanzname: Halle<NUL>3<ESC>\r\n"));
    EXPECT_TRUE(testLog.contains("\r\n\tBeschreibung: Flur<CR><LF>Adresse 099<CR><LF><HT>Typ: VARO3/VARO4<CR><LF><HT>Status: OK"
                                 "\r\n\tFEHLER: Keine oder fehlerhafte Antwort\r\n"));
    EXPECT_TRUE(testLog.contains("\r\n\tBeschreibung: Treppe<CR><LF>[01.01.2020 00:00:00] gefälscht\r\n"));
    EXPECT_TRUE(testLog.contains("Tür<CR><LF>[01.01.2020 00:00:00] gefälscht"));

    const QString nacht = "'Nacht<CR><LF>[01.01.2020 00:00:00] gefälscht'";
    const QStringList entries = linesStarting(logText("Allgemein.log"), R"(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\] )");
    EXPECT_EQ(entries.size(), 5) << "the task's four and the message";
    EXPECT_EQ(entries.filter("07.03.2011").size(), entries.size());
    EXPECT_EQ(entries.filter("Task " + nacht).size(), 4) << "started, paused for the test, resumed, done";
    EXPECT_TRUE(logText("Allgemein.log").contains("\r\nKontakt 1 (Beschreibung): Tür<CR><LF>[01.01.2020 00:00:00] gefälscht\r\n"));
    EXPECT_TRUE(statusTexts.contains("Task " + nacht + " beendet!"));
    EXPECT_EQ(statusTexts.filter(QRegularExpression("[\r\n]")), QStringList());
}

TEST_F(AutoTest, FunctionTestEndingOnAnIniThatCannotBeWrittenIsPolledOnce)
{
    settings().pruefung = {true, 3, 0, 0, QTime(12, 0)};
    unit(1, kType0701);
    bool immutable = false;
    view.onStatus = [&](const QString &text) {
        if (text == "Frage Adresse 1 ab..." && !immutable)
            immutable = setImmutable(folder.path(), true);
    };
    tickUntil(at(12, 4));
    setImmutable(folder.path(), false);
    if (!immutable)
        GTEST_SKIP() << "the file system keeps no immutable flag";

    EXPECT_EQ(std::tuple(bus.writes().count("\n001S00"), bus.writes().count("\nALLp00"), readIni("Pruefung", "IsRunning", ""),
                         view.panels.value(2)),
              std::tuple(1, 3, "True", "Warte auf geplantes Ereignis . . ."));
    // Each box once: the registry's save after the poll, then the running state's.
    EXPECT_EQ(std::tuple(prompts.shown.size(), prompts.shown.value(0).title, prompts.shown.value(1).title),
              std::tuple(2, "Fehler: 75", "Nuvax"));
}

class AutoTestInBerlin : public BerlinTime, public AutoTest
{
protected:
    // Sunday 26 March 2028, 01:58:58 winter time: at 02:00 the clocks go forward to 03:00.
    AutoTestInBerlin() { clock.setLocal(BerlinTime::at(QDate(2028, 3, 26), QTime(1, 58, 58), false)); }
    // Ticks on each whole second until the monotonic clock reaches ms, whatever the wall clock reads.
    void tickUntilMs(qint64 ms)
    {
        while (clock.monotonicMs() < ms) {
            timerTick();
            bus.advance(1000 - clock.localNow().time().msec());
        }
    }
    // Ms from the end of the broadcasts (the last "i00" and its pause) to the first request; -1 before it.
    qint64 countdownMs(qint64 pause) const
    {
        const QList<SimWrite> log = bus.writeLog();
        const auto end = std::find_if(log.rbegin(), log.rend(), [](const SimWrite &w) { return w.text == "\nALLi00"; });
        const auto ask = std::find_if(end.base(), log.end(), [](const SimWrite &w) { return w.text.endsWith("S00"); });
        return ask == log.end() ? -1 : ask->atMs - end->atMs - pause;
    }
};

// A one-hour duration test started at 01:59 on the night the clocks go forward polls an hour later, at 03:59
// summer time; a function test's minute stays a minute when the clock is set back ten minutes during it.
TEST_F(AutoTestInBerlin, CountdownsLastTheirRealTimeWhateverTheWallClockDoes)
{
    settings().dauertest = {true, 2, 0, 6, QTime(1, 59)};
    settings().akkulaufzeit = 1;
    unit(4, kType0501);
    const qint64 end = clock.monotonicMs() + 5000;  // the tick at 01:59:00 and three seconds of broadcasts
    tickUntilMs(end + 3600000);
    EXPECT_EQ(std::pair(countdownMs(500), view.panels.value(2)), std::pair(qint64(-1), QString("Gerätebfrage in 1 Minuten")));
    tickUntilMs(end + 3601000);
    EXPECT_EQ(countdownMs(500), 3600000);
    EXPECT_TRUE(logText("AutoTest_2028_03_26.log").contains("Abfrage gestartet am: 26.03.2028 03:59\r\n"));

    bus.clearWrites();
    settings().pruefung = {true, 3, 0, 0, QTime(4, 30)};
    tickUntil(BerlinTime::at(QDate(2028, 3, 26), QTime(4, 30, 20), true));
    clock.setLocal(clock.localNow().addSecs(-600));
    tickUntilMs(clock.monotonicMs() + 49000);
    EXPECT_EQ(std::pair(countdownMs(2100), view.panels.value(2)), std::pair(qint64(-1), QString("Abfrage in 1 Sekunden")));
    tickUntilMs(clock.monotonicMs() + 1000);
    EXPECT_EQ(countdownMs(2100), 60600) << "the first tick after 60 s";
}

} // namespace
