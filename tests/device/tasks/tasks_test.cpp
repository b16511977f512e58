#include "support/berlintime.h"
#include "support/busfixture.h"

#include "core/files/tasksfile.h"
#include "core/platform/oledate.h"
#include "device/pages/unitstatus.h"
#include "device/tasks/tasktable.h"

#include <QRegularExpression>
#include <optional>

namespace {

TaskRecord task(const QString &name, QTime time, int aktion = 0, std::initializer_list<int> adressen = {})
{
    TaskRecord t;
    t.aktiv = true, t.beschreibung = name, t.aktion = static_cast<qint16>(aktion);
    t.uhrzeit = QDateTime(QDate(1899, 12, 30), time);
    t.wochentage.fill(true), t.monate.fill(true);
    for (int a : adressen)
        t.adressen[a] = true;
    return t;
}

QString slotId(int slot) { return tasks().at(slot).taskId; }

class Tasks : public BusFixture
{
protected:
    Tasks() : BusFixture(at(7, 29, 58)) {}

    // The last frames written.
    QStringList lastWrites(int n) const { return bus.writes().mid(bus.writes().size() - n); }
};

TEST_F(Tasks, FramesOfEachTargetTwiceAndTheSecondTaskOfTheMinuteSkipped)
{
    TaskRecord t = task("Flurlicht", QTime(7, 30), 0, {5, 150});
    t.gruppen[5] = t.gruppen[12] = true;
    addTask(t);
    addTask(task("Zweiter", QTime(7, 30), 0, {2}));
    TaskRecord all = task("Aus", QTime(7, 31), 1, {3}); // the addresses are not looked at for all units
    all.alleEinheiten = true;
    addTask(all);
    addTask(task("Reset", QTime(7, 32), 2, {3}));
    tickUntil(at(7, 33));

    EXPECT_EQ(bus.wire(), "\nG05C0D\nG05C0D\n005C0D\n005C0D\nG12C0D\nG12C0D\n150C0D\n150C0D\nALLC0B\nALLC0B");
    const auto log = bus.writeLog();
    for (int i = 1; i < log.size(); ++i) // the all-units task runs a minute later
        EXPECT_EQ(log[i].atMs - log[i - 1].atMs, i == 8 ? log[8].atMs - log[7].atMs : 250) << i;
    EXPECT_EQ(logEntries(), QStringList({"Task 'Zweiter' konnte nicht gestartet werden, weil ein anderer Task "
                                         "gerade ausgeführt wird!",
                                         "Geplanter Task 'Flurlicht' wird gestartet!",
                                         "Geplanter Task 'Flurlicht' wurde ausgeführt!",
                                         "Geplanter Task 'Aus' wird gestartet!", "Geplanter Task 'Aus' wurde ausgeführt!",
                                         "Geplanter Task 'Reset' wird gestartet!",
                                         "Geplanter Task 'Reset': Die Aktion 'Datenreset' hat keinen Befehl, "
                                         "es wird nichts gesendet!",
                                         "Geplanter Task 'Reset' wurde ausgeführt!"}));
    EXPECT_EQ(view.panels.value(2), "Warte auf geplantes Ereignis . . .");
}

// The task waits while the tests run and then sends what it had when it
// started; meanwhile the bus is free for a query, and a duration test due
// inside the function test's poll (07:31:08 to 07:33:14) starts late.
TEST_F(Tasks, TaskPausesForTheTestsWhileTheBusIsFreeAndASlotInsideAPollStartsLate)
{
    settings().pruefung = {true, 3, 0, 0, QTime(7, 30)};
    settings().dauertest = {true, 2, 0, 0, QTime(7, 32)};
    for (int adr = 1; adr <= 14; ++adr)
        unit(adr, kType0701).silent = true;
    unit(15, kType0203);
    addTask(task("Nacht", QTime(7, 30), 0, {4}));
    // The operator asks for unit 15, removes the task and adds another one in its slot while it waits.
    std::optional<int> query;
    QString reason;
    view.onStatus = [&](const QString &text) {
        if (text == "Abfrage in 30 Sekunden" && !query) {
            query = showUnitStatus(15, &reason);
            deleteTask(slotId(1));
            addTask(task("Andere", QTime(9, 0), 0, {9}));
        }
    };
    tickUntil(at(7, 39));
    EXPECT_EQ(query, kUnitStatusShown) << reason.toStdString();
    const QStringList w = bus.writes();
    const qsizetype late = w.indexOf("\nALLT00");
    ASSERT_GT(late, 0);
    EXPECT_EQ(std::tuple(w[late - 1], w.count("\nALLT00"), w.count("\n009C0D")), std::tuple("\nALLp00", 3, 0))
        << "the duration test starts right after the function test's poll";
    EXPECT_EQ(lastWrites(5), QStringList({"\nALLR00", "\nALLR00", "\nALLR00", "\n004C0D", "\n004C0D"}));
    EXPECT_EQ(logEntries().filter(QRegularExpression("Task|verspätet")),
              QStringList({"Task 'Nacht' wurde ausgeführt während die AutoPrüfung lief und wird angehalten!",
                           "Task 'Nacht' wird jetzt fortgesetzt!", "Geplanter Task 'Nacht' wird gestartet!",
                           "Betriebsdauertest für den Termin 07.03.2011 07:32 wurde verspätet gestartet!",
                           "Geplanter Task 'Nacht' wurde ausgeführt!"}));
}

TEST_F(Tasks, MinutesSpentInTheEndOfADurationTestAreMadeUpAfterItButNotAClockSetForward)
{
    settings().dauertest = {true, 2, 0, 0, QTime(7, 30)};
    TaskRecord t = task("Danach", QTime(7, 30), 0, {2});
    addTask(t);
    tickUntil(at(7, 33));
    EXPECT_EQ(std::pair(bus.writes().indexOf("\nALLR00"), lastWrites(5).join("")),
              std::pair(bus.writes().size() - 5, QString("\nALLR00\nALLR00\nALLR00\n002C0D\n002C0D")));

    bus.clearWrites();
    t.uhrzeit = QDateTime(QDate(1899, 12, 30), QTime(8, 0));
    t.taskId = slotId(1);
    updateTask(t);
    clock.setLocal(at(9, 0));
    tickUntil(at(9, 1));
    EXPECT_TRUE(bus.writes().isEmpty());
}

// The port did not open at the start and is lost again between the targets of a task: neither task that
// could not reach the units counts as done, and each time the port is back a minute after it was found
// closed, in time for a later task.
TEST_F(Tasks, TasksThePortCannotCarryAreNotDoneAndALaterOneRunsOnThePortOpenedAgain)
{
    settings().comPort = 0;
    serialLink().reset();
    addTask(task("Nacht", QTime(7, 30), 0, {4}));
    addTask(task("Flur", QTime(7, 31), 0, {4, 5}));
    addTask(task("Treppe", QTime(7, 33), 0, {6}));
    view.onStatus = [&](const QString &text) {
        if (text == "Task 'Flur' aktiv" && bus.writes().size() == 2)
            bus.hangUp();
    };
    tickUntil(at(7, 34));

    EXPECT_EQ(bus.wire(), "\n004C0D\n004C0D\n006C0D\n006C0D");
    const QString notDone = "' wurde nicht ausgeführt, weil die Schnittstelle COM1 nicht geöffnet ist!";
    const QString lost = "Die Verbindung zur Schnittstelle COM1 wurde unterbrochen: 'Resource error'. Die Schnittstelle "
                         "wird jede Minute neu geöffnet, bis sie wieder bereit ist.";
    EXPECT_EQ(logEntries(), QStringList({"Geplanter Task 'Nacht' wird gestartet!", "Geplanter Task 'Nacht" + notDone,
                                         "Die Schnittstelle COM1 wurde wieder geöffnet.",
                                         "Geplanter Task 'Flur' wird gestartet!", lost, "Geplanter Task 'Flur" + notDone,
                                         "Die Schnittstelle COM1 wurde wieder geöffnet.",
                                         "Geplanter Task 'Treppe' wird gestartet!",
                                         "Geplanter Task 'Treppe' wurde ausgeführt!"}));
    EXPECT_EQ(std::tuple(box().text, box().title, box().icon, box().isNotice),
              std::tuple(lost + "\r\nZeitpunkt: 07.03.2011 07:31:00\r\n\r\nUnterbrechungen seit dem Erscheinen dieser "
                              "Meldung: 1", "COM", Prompts::Icon::Exclamation, true));
}

TEST_F(Tasks, TableReusesFreedSlotsKeepsIdsAndLocksAndShowsItsList)
{
    TaskRecord a = task("A", QTime(6, 5), 7);
    a.monate[5] = false;
    a.wochentage = {true, false, false, false, false, false, true};
    addTask(a);
    addTask(task("B", QTime(7, 0)));
    const QString idA = slotId(1), idB = slotId(2);
    deleteTask(idA);
    addTask(task("C", QTime(8, 0)));
    EXPECT_EQ(findTaskIndex(idB), 2);
    a.taskId = idB, a.aktiv = false;
    tasks().at(2).sperreBis = 40609.5;
    updateTask(a);
    EXPECT_EQ(tasks().at(2).sperreBis, 40609.5);

    fillTaskList();
    ASSERT_EQ(view.taskRows.size(), 2);
    const TaskListRow &b = view.taskRows[1];
    EXPECT_EQ(QStringList({b.status, b.taskId, b.beschreibung, b.uhrzeit, b.aktion, b.wochentage, b.monate}),
              QStringList({"Inaktiv", idB, "A", "06:05", "", "Montag, Sonntag",
                           "Januar, Februar, März, April, Mai, Juli, August, September, Oktober, November, Dezember"}));
    for (int i = 3; i <= kMaxTasks; ++i)
        addTask(task("X", QTime(1, 0)));
    EXPECT_FALSE(addTask(task("zu viel", QTime(1, 0))));
    EXPECT_EQ(folder.read("Tasks.dat").size(), kTaskRecordSize * kMaxTasks);
}

// A task due in a minute that passes wholly inside the test the very first tick starts and polls at once
// (a duration test without a battery time, seven units that never answer) runs right after that test.
TEST_F(Tasks, ATaskWhoseMinutePassesInsideTheFirstTicksTestRunsAfterIt)
{
    clock.setLocal(at(12, 0));
    startSchedules();
    settings().dauertest = {true, 2, 0, 0, QTime(12, 0)};
    for (int adr = 1; adr <= 7; ++adr)
        unit(adr, kType0701).silent = true;
    addTask(task("Mittag", QTime(12, 1), 0, {9}));
    timerTick();
    ASSERT_GT(clock.localNow(), at(12, 2));
    EXPECT_EQ(lastWrites(5), QStringList({"\nALLR00", "\nALLR00", "\nALLR00", "\n009C0D", "\n009C0D"}));
    EXPECT_EQ(logEntries().filter("Mittag"),
              QStringList({"Geplanter Task 'Mittag' wird gestartet!", "Geplanter Task 'Mittag' wurde ausgeführt!"}));
}

class TasksInBerlin : public BerlinTime, public Tasks
{
protected:
    // 02:58:58 summer time on the night the clocks go back.
    TasksInBerlin() { clock.setLocal(BerlinTime::at(QDate(2027, 10, 31), QTime(2, 58, 58), true)); }
};

// The lock is the wall clock's next minute: 02:59 runs once although the night reads it twice, and a task at
// 01:59 on the night the clocks go forward keeps 02:00 as its lock, a reading that night never shows.
TEST_F(TasksInBerlin, OnTheNightsTheClocksChangeATaskRunsOnceInItsMinute)
{
    addTask(task("Nacht", QTime(2, 59), 0, {5}));
    tickUntil(BerlinTime::at(QDate(2027, 10, 31), QTime(2, 0, 5), false));
    clock.advanceMs(58 * 60000);
    tickUntil(BerlinTime::at(QDate(2027, 10, 31), QTime(3, 0, 5), false));
    EXPECT_EQ(bus.wire(), "\n005C0D\n005C0D");
    EXPECT_EQ(logEntries(), QStringList({"Geplanter Task 'Nacht' wird gestartet!", "Geplanter Task 'Nacht' wurde ausgeführt!"}));

    bus.clearWrites();
    clock.setLocal(BerlinTime::at(QDate(2028, 3, 26), QTime(1, 58, 58), false));
    addTask(task("Früh", QTime(1, 59), 0, {6}));
    tickUntil(BerlinTime::at(QDate(2028, 3, 26), QTime(3, 1), true));
    EXPECT_EQ(bus.wire(), "\n006C0D\n006C0D");
    ASSERT_TRUE(saveTasks(false) && loadTasks(false));
    EXPECT_EQ(tasks().at(2).sperreBis, oledate::fromWallSeconds(oledate::wallSeconds(QDateTime(QDate(2028, 3, 26), QTime(2, 0), Qt::UTC))));
}

} // namespace
