#include "core/files/tasksfile.h"

#include "support/stationfiles.h"

namespace {

TaskRecord sampleTask(const QString &id)
{
    TaskRecord task;
    task.aktiv = task.belegt = true;
    task.beschreibung = QStringLiteral("Licht Ä");
    task.uhrzeit = QDateTime(QDate(1899, 12, 30), QTime(7, 30));
    task.wochentage[0] = task.wochentage[6] = true;
    task.monate[0] = task.monate[11] = true;
    task.aktion = 1;
    task.gruppen[5] = true;
    task.adressen[999] = true;
    task.sperreBis = QDateTime(QDate(1900, 1, 1), QTime(12, 0));
    task.taskId = id;
    return task;
}

const QByteArray kTrue("\xFF\xFF", 2);
QByteArray zeros(int n) { return QByteArray(n, '\0'); }

} // namespace

using TasksFile = StationFiles;

TEST_F(TasksFile, RecordLayoutByteForByte)
{
    const QByteArray bytes = encodeTaskRecord(sampleTask(QStringLiteral("ABCDEFGHIJKLMNOPQRS}")));
    ASSERT_EQ(bytes.size(), kTaskRecordSize);
    EXPECT_EQ(bytes.mid(0, 4), kTrue + kTrue);
    EXPECT_EQ(bytes.mid(4, 255), "Licht \xC4" + QByteArray(248, ' '));
    EXPECT_EQ(bytes.mid(259, 8), QByteArray("\0\0\0\0\0\0\xD4\x3F", 8));   // 0.3125 days
    EXPECT_EQ(bytes.mid(267, 14), kTrue + zeros(10) + kTrue);
    EXPECT_EQ(bytes.mid(281, 24), kTrue + zeros(20) + kTrue);
    EXPECT_EQ(bytes.mid(305, 4), QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(bytes.mid(309, 200), zeros(10) + kTrue + zeros(188));
    EXPECT_EQ(bytes.mid(509, 2000), zeros(1998) + kTrue);
    EXPECT_EQ(bytes.mid(2509, 8), QByteArray("\0\0\0\0\0\0\x04\x40", 8));  // 2.5 days
    EXPECT_EQ(bytes.mid(2517, 20), QByteArray("ABCDEFGHIJKLMNOPQRS}"));
    EXPECT_EQ(encodeTaskRecord(decodeTaskRecord(bytes)), bytes);
}

TEST_F(TasksFile, UsedSlotsArePackedOnSaveAndComeBackInTheLowestSlots)
{
    int listFills = 0;
    refreshHooks().fillTaskList = [&] { ++listFills; };
    ASSERT_TRUE(loadTasks(true));   // a missing file is created empty
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Tasks.dat"))));

    tasks().at(3) = sampleTask(QStringLiteral("drei"));
    tasks().at(7) = sampleTask(QStringLiteral("sieben"));
    tasks().at(8) = sampleTask(QStringLiteral("frei"));
    tasks().at(8).belegt = false;
    ASSERT_TRUE(saveTasks(true));
    EXPECT_EQ(listFills, 2);
    ASSERT_EQ(read("Tasks.dat").size(), 5074);

    // A trailing part shorter than a record is no task.
    write("Tasks.dat", read("Tasks.dat") + QByteArray(26, 'x'));
    ASSERT_TRUE(loadTasks(false));
    EXPECT_EQ(tasks().at(1).taskId.trimmed(), QStringLiteral("drei"));
    EXPECT_EQ(tasks().at(2).taskId.trimmed(), QStringLiteral("sieben"));
    EXPECT_FALSE(tasks().at(7).belegt || tasks().at(7).aktiv || tasks().at(3).belegt);

    tasks().at(1).belegt = tasks().at(2).belegt = false;
    ASSERT_TRUE(saveTasks(false));
    EXPECT_EQ(read("Tasks.dat").size(), 0);
    EXPECT_EQ(listFills, 2);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(TasksFile, MoreThanAHundredTasksLoadTheFirstHundredAndKeepTheFileAside)
{
    QByteArray bytes;
    for (int i = 1; i <= 101; ++i)
        bytes += encodeTaskRecord(sampleTask(QString::number(i)));
    write("Tasks.dat", bytes);

    EXPECT_FALSE(loadTasks(true));
    EXPECT_EQ(tasks().at(100).taskId.trimmed(), QStringLiteral("100"));
    EXPECT_EQ(box(), QStringLiteral("Nuvax|Beim Laden der Tasks ist folgender Fehler aufgetreten:\r\n"
                                    "Index außerhalb des gültigen Bereichs"));
    ASSERT_TRUE(saveTasks(false));
    EXPECT_EQ(read("Tasks.dat.defekt"), bytes);
    EXPECT_EQ(read("Tasks.dat").size(), 100 * kTaskRecordSize);
    EXPECT_EQ(log().first(), QStringLiteral("Fehler beim Laden der Tasks: Index außerhalb des gültigen Bereichs"));
}
