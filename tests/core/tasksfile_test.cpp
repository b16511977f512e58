#include "core/datafile.h"
#include "core/refreshhooks.h"
#include "core/tasksfile.h"

#include "logentries.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

class TasksFile : public ::testing::Test
{
protected:
    TasksFile()
    {
        tasks().clear();
        forgetLoadFailures();
        refreshHooks().fillTaskList = [this] { ++listFills; };
    }
    ~TasksFile() override
    {
        tasks().clear();
        forgetLoadFailures();
        refreshHooks() = RefreshHooks{};
    }
    QByteArray file() const { return folder.read(QStringLiteral("Tasks.dat")); }

    TempAppFolder folder;
    FakeClock clock;
    RecordingView view;
    ScriptedPrompts prompts;
    int listFills = 0;
};

TaskRecord sampleTask(const QString &id)
{
    TaskRecord task;
    task.aktiv = true;
    task.belegt = true;
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

QByteArray booleans(std::initializer_list<bool> values)
{
    QByteArray bytes;
    for (bool v : values)
        bytes += v ? QByteArray("\xFF\xFF", 2) : QByteArray(2, '\0');
    return bytes;
}

} // namespace

TEST_F(TasksFile, RecordLayoutByteForByte)
{
    const QByteArray bytes = encodeTaskRecord(sampleTask(QStringLiteral("ABCDEFGHIJKLMNOPQRS}")));
    ASSERT_EQ(bytes.size(), kTaskRecordSize);
    EXPECT_EQ(bytes.mid(0, 4), booleans({true, true}));
    EXPECT_EQ(bytes.mid(4, 255), "Licht \xC4" + QByteArray(248, ' '));
    EXPECT_EQ(bytes.mid(259, 8), QByteArray("\0\0\0\0\0\0\xD4\x3F", 8));   // 0.3125 days
    EXPECT_EQ(bytes.mid(267, 14), booleans({true, false, false, false, false, false, true}));
    EXPECT_EQ(bytes.mid(281, 24), booleans({true}) + QByteArray(20, '\0') + booleans({true}));
    EXPECT_EQ(bytes.mid(305, 2), QByteArray("\x01\x00", 2));
    EXPECT_EQ(bytes.mid(307, 2), booleans({false}));
    EXPECT_EQ(bytes.mid(309, 200), QByteArray(10, '\0') + booleans({true}) + QByteArray(188, '\0'));
    EXPECT_EQ(bytes.mid(509, 2000), QByteArray(1998, '\0') + booleans({true}));
    EXPECT_EQ(bytes.mid(2509, 8), QByteArray("\0\0\0\0\0\0\x04\x40", 8));  // 2.5 days
    EXPECT_EQ(bytes.mid(2517, 20), QByteArray("ABCDEFGHIJKLMNOPQRS}"));

    const TaskRecord back = decodeTaskRecord(bytes);
    EXPECT_EQ(back.beschreibung, QStringLiteral("Licht Ä").leftJustified(255, u' '));
    EXPECT_EQ(back.uhrzeit, QDateTime(QDate(1899, 12, 30), QTime(7, 30)));
    EXPECT_EQ(back.sperreBis, QDateTime(QDate(1900, 1, 1), QTime(12, 0)));
    EXPECT_EQ(back.aktion, 1);
    EXPECT_TRUE(back.adressen[999]);
    EXPECT_FALSE(back.adressen[998]);
    EXPECT_EQ(encodeTaskRecord(back), bytes);

    // Times come back to the nearest second; any nonzero Boolean is true.
    QByteArray changed = bytes;
    char stored[8];
    qToLittleEndian(0.3125 + 0.4 / 86400.0, stored);
    changed.replace(259, 8, QByteArray(stored, 8)).replace(0, 2, QByteArray("\x01\x00", 2));
    EXPECT_EQ(decodeTaskRecord(changed).uhrzeit.time(), QTime(7, 30));
    EXPECT_TRUE(decodeTaskRecord(changed).aktiv);
}

TEST_F(TasksFile, UsedSlotsArePackedOnSaveAndComeBackInTheLowestSlots)
{
    // A missing file is created empty.
    ASSERT_TRUE(loadTasks(true));
    EXPECT_EQ(file(), QByteArray());
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Tasks.dat"))));

    tasks().at(3) = sampleTask(QStringLiteral("drei"));
    tasks().at(7) = sampleTask(QStringLiteral("sieben"));
    tasks().at(8) = sampleTask(QStringLiteral("frei"));
    tasks().at(8).belegt = false;
    ASSERT_TRUE(saveTasks(true));
    EXPECT_EQ(listFills, 2);
    ASSERT_EQ(file().size(), 5074);

    // A trailing part shorter than a record is no task.
    folder.write(QStringLiteral("Tasks.dat"), file() + QByteArray(26, 'x'));
    ASSERT_TRUE(loadTasks(false));
    EXPECT_EQ(listFills, 2);
    EXPECT_EQ(tasks().at(1).taskId.trimmed(), QStringLiteral("drei"));
    EXPECT_EQ(tasks().at(2).taskId.trimmed(), QStringLiteral("sieben"));
    EXPECT_FALSE(tasks().at(3).belegt);
    EXPECT_FALSE(tasks().at(7).belegt);
    EXPECT_FALSE(tasks().at(7).aktiv);

    tasks().at(1).belegt = tasks().at(2).belegt = false;
    ASSERT_TRUE(saveTasks(false));
    EXPECT_EQ(file().size(), 0);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(TasksFile, MoreThanAHundredTasksLoadTheFirstHundredAndKeepTheFileAside)
{
    QByteArray bytes;
    for (int i = 1; i <= 101; ++i)
        bytes += encodeTaskRecord(sampleTask(QString::number(i)));
    folder.write(QStringLiteral("Tasks.dat"), bytes);

    EXPECT_FALSE(loadTasks(true));
    EXPECT_EQ(listFills, 0);
    EXPECT_EQ(tasks().at(100).taskId.trimmed(), QStringLiteral("100"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.at(0).text, QStringLiteral("Beim Laden der Tasks ist folgender Fehler aufgetreten:\r\n"
                                                       "Index außerhalb des gültigen Bereichs"));
    EXPECT_EQ(std::pair(prompts.shown.at(0).title, prompts.shown.at(0).icon),
              std::pair(QStringLiteral("Nuvax"), Prompts::Icon::Critical));

    ASSERT_TRUE(saveTasks(false));
    EXPECT_EQ(folder.read(QStringLiteral("Tasks.dat.defekt")), bytes);
    EXPECT_EQ(file().size(), 100 * kTaskRecordSize);
    EXPECT_EQ(generalLogEntries(folder).first(),
              QStringLiteral("Fehler beim Laden der Tasks: Index außerhalb des gültigen Bereichs"));
}
