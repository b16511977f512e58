#include "support/automationfixture.h"

#include "core/files/stationini.h"
#include "core/platform/oledate.h"
#include "core/station/stoprequest.h"
#include "device/autotest/autotestschedule.h"
#include "device/messages/devicetypes.h"
#include "device/tasks/tasktable.h"

#include <QDir>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QDateTime dt(const char *text) { return QDateTime::fromString(QString::fromLatin1(text), "dd.MM.yyyy HH:mm:ss"); }

struct Rule
{
    const char *name;
    int intervall;
    const char *lastRun;   // nullptr: never run
    const char *now;
    bool due;
};

// Monday 12:00 in March for every rule; 07.03.2011 and 14.03.2011 are Mondays.
const Rule kRules[] = {
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

TEST(IntervalRules, EachRuleAcrossItsBoundaries)
{
    const TestSchedule schedule{true, 0, 2, 0, QTime(12, 0)};
    for (const Rule &r : kRules) {
        TestSchedule s = schedule;
        s.intervall = r.intervall;
        const QDateTime last = r.lastRun ? dt(r.lastRun) : oledate::zero();
        EXPECT_EQ(istFaellig(s, last, dt(r.now), true), r.due) << r.name;
    }
    TestSchedule daily = schedule;
    daily.intervall = 3;
    EXPECT_FALSE(istFaellig(daily, oledate::zero(), dt("07.03.2011 12:00:00"), false))
        << "no daily duration test";
}

class Schedule : public AutomationTest
{
};

bool setImmutable(const QString &folder, bool on)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

TEST_F(Schedule, BothKindsDueInOneMinuteStartOnlyTheDurationTest)
{
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    settings().dauertest = {true, 2, 0, 0, QTime(12, 0)};
    settings().akkulaufzeit = 3;
    tickUntil(at(12, 1, 1));

    EXPECT_EQ(bus.writes(), QStringList({"\nALLT00", "\nALLi00", "\nALLT00", "\nALLi00", "\nALLT00", "\nALLi00"}));
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Gerätebfrage in 179 Minuten"));
    EXPECT_EQ(readIni("Pruefung", "LastRun", "absent"), QStringLiteral("absent"));
    EXPECT_TRUE(logText("AutoTest_2011_03_07.log").contains("Art der Prüfung: Betriebsdauertest\r\n"));
}

TEST_F(Schedule, NothingStartsOnceTheStationIsToldToEnd)
{
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    TaskRecord all;
    all.aktiv = all.alleEinheiten = true;
    all.uhrzeit = QDateTime(QDate(1899, 12, 30), QTime(12, 0));
    all.wochentage.fill(true);
    all.monate.fill(true);
    addTask(all);
    requestStop();
    tickUntil(at(12, 0, 5));
    clearStopRequest();

    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_EQ(readIni("Pruefung", "LastRun", "absent"), QStringLiteral("absent"));
    EXPECT_FALSE(QFile::exists(folder.file("logs/Allgemein.log")));
}

TEST_F(Schedule, SlotInsideALongPollStartsRightAfterItOnceAndTheClockRunsOn)
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

    QStringList minutes;
    for (int m = 1; m <= 7; ++m)
        minutes << QStringLiteral("Montag 07.03.2011 12:0%1").arg(m);
    EXPECT_EQ(clockDuringPoll, minutes);

    const QStringList w = bus.writes();
    const qsizetype end = w.lastIndexOf("\nALLp00");
    ASSERT_GT(end, 0);
    EXPECT_EQ(w.mid(end - 2), QStringList({"\nALLp00", "\nALLp00", "\nALLp00", "\nALLT00", "\nALLi00", "\nALLT00",
                                           "\nALLi00", "\nALLT00", "\nALLi00"}));
    const QList<SimWrite> log = bus.writeLog();
    EXPECT_LT(log[end + 1].atMs - log[end].atMs, 1500) << "the first tick after the poll starts it";
    EXPECT_EQ(getDauertestLastRun(), at(12, 2));
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Gerätebfrage in 176 Minuten"));

    const QString general = logText("Allgemein.log");
    EXPECT_EQ(general.count("Betriebsdauertest für den Termin 07.03.2011 12:02 wurde verspätet gestartet!"), 1);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].isNotice);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
}

TEST_F(Schedule, StateLeftByAnEndedProgramIsResetAndTheSlotRunsAgain)
{
    folder.write("Nuvax.ini", "[Pruefung]\r\nIsRunning=True\r\nLastRun=07.03.2011 11:00:00\r\n"
                              "[Dauertest]\r\nIsRunning=True\r\nLastRun=07.03.2011 05:00:00\r\n");
    settings().pruefung = {true, 2, 0, 0, QTime(12, 0)};
    timerTick();

    EXPECT_EQ(readIni("Pruefung", "IsRunning", ""), QStringLiteral("false"));
    EXPECT_EQ(readIni("Dauertest", "IsRunning", ""), QStringLiteral("false"));
    EXPECT_EQ(getPruefungLastRun(), oledate::zero());
    EXPECT_EQ(getDauertestLastRun(), oledate::zero());
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Warte auf geplantes Ereignis . . ."));

    tickUntil(at(12, 0, 1));
    ASSERT_FALSE(bus.writes().isEmpty());
    EXPECT_EQ(bus.writes().first(), QStringLiteral("\nALLP00"));
    EXPECT_EQ(getPruefungLastRun(), at(12, 0));
    EXPECT_EQ(readIni("Pruefung", "IsRunning", ""), QStringLiteral("True"));
}

TEST_F(Schedule, IniThatCannotBeWrittenStartsNothingAndSaysSoOnce)
{
    QDir().mkpath(folder.file("Nuvax.ini"));
    settings().pruefung = {true, 3, 0, 0, QTime(12, 0)};
    tickUntil(at(12, 1));

    EXPECT_TRUE(bus.writes().isEmpty());
    EXPECT_FALSE(QFile::exists(folder.file("logs/AutoTest_2011_03_07.log")));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].isNotice) << "the tick never waits for an OK";
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.shown[0].text.startsWith("Fehler beim Speichern der Konfiguration!\r\n"));
}

TEST_F(Schedule, StaleStateThatCannotBeClearedCountsNothingDown)
{
    folder.write("Nuvax.ini", "[Pruefung]\r\nIsRunning=True\r\n");
    // An immutable folder: its files stay readable, but nothing can replace them, even as root.
    if (!setImmutable(folder.path(), true))
        GTEST_SKIP() << "the file system keeps no immutable flag";
    tickUntil(at(12, 0, 3));
    setImmutable(folder.path(), false);

    EXPECT_EQ(view.panels.value(2), QStringLiteral("Warte auf geplantes Ereignis . . ."));
    EXPECT_EQ(readIni("Pruefung", "IsRunning", ""), QStringLiteral("True"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith("Fehler beim Speichern der Konfiguration!\r\n"));
}

TEST_F(Schedule, FunctionTestEndingOnAnIniThatCannotBeWrittenIsPolledOnce)
{
    settings().pruefung = {true, 3, 0, 0, QTime(12, 0)};
    unit(1, kType0701);
    bool immutable = false;
    view.onStatus = [&](const QString &text) {
        if (text == QStringLiteral("Frage Adresse 1 ab...") && !immutable)
            immutable = setImmutable(folder.path(), true);
    };
    tickUntil(at(12, 4));
    setImmutable(folder.path(), false);
    if (!immutable)
        GTEST_SKIP() << "the file system keeps no immutable flag";

    EXPECT_EQ(bus.requestsTo(1), 1);
    EXPECT_EQ(bus.writes().count("\nALLp00"), 3);
    EXPECT_EQ(readIni("Pruefung", "IsRunning", ""), QStringLiteral("True"));
    EXPECT_EQ(view.panels.value(2), QStringLiteral("Warte auf geplantes Ereignis . . ."));
    // Each box once: the registry's save after the poll, then the running state's.
    QStringList titles;
    for (const auto &shown : prompts.shown)
        titles << shown.title;
    EXPECT_EQ(titles, QStringList({"Fehler: 75", "Nuvax"}));
}

} // namespace
