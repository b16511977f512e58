// A station killed in the middle of a save loses nothing: every data file it leaves is the complete earlier
// or later version, and the general log holds whole entries in front of its older content.
#include "core/board/formularfile.h"
#include "core/files/tasksfile.h"
#include "core/registry/unitsfile.h"
#include "support/qtprint.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <array>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

const QMap<char, QString> kFiles = {{'U', "Units.dat"}, {'T', "Tasks.dat"}, {'F', "Formulare.dat"}, {'L', "logs/Allgemein.log"}};

// The station process of tests/tools/savechild, and its report of where it was: "<X t" and ">X t" around each save.
struct SaveChild
{
    SaveChild(const QString &home, const QStringList &args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("NUVAX_HOME"), home);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(NUVAX_SAVECHILD), args);
    }
    ~SaveChild() { kill(); }
    // Reads the report until "<edge><file>" arrives; false when the child ended first.
    bool waitFor(char edge, char file)
    {
        for (;;) {
            while (process.canReadLine())
                if (note(process.readLine()) == QByteArray(1, edge) + file)
                    return true;
            if (!process.waitForReadyRead(30000))
                return false;
        }
    }
    void kill()
    {
        process.kill();
        process.waitForFinished();
        while (process.canReadLine())
            note(process.readLine());
    }
    QByteArray note(const QByteArray &line)
    {
        if (line.size() < 4)
            return {};
        lastEdge[line[1]] = line[0];
        (line[0] == '<' ? startUs : endUs)[line[1]] = line.mid(3).trimmed().toLongLong();
        return line.left(2);
    }

    QProcess process;
    QMap<char, char> lastEdge;
    QMap<char, qint64> startUs, endUs;
};

} // namespace

TEST(CrashSafeSave, AKillDuringAnySaveLeavesWholeFiles)
{
    // The two versions of each data file, as one undisturbed save of each leaves them.
    QMap<char, std::array<QByteArray, 2>> versions;
    for (int v = 0; v < 2; ++v) {
        TempAppFolder folder;
        SaveChild child(folder.path(), {QStringLiteral("once"), QString::number(v)});
        ASSERT_TRUE(child.process.waitForFinished(120000) && child.process.exitStatus() == QProcess::NormalExit && child.process.exitCode() == 0);
        for (const char file : {'U', 'T', 'F'})
            versions[file][v] = folder.read(kFiles[file]);
    }
    // The station's files as the earlier version left them, with a long log.
    TempAppFolder home;
    for (const char file : {'U', 'T', 'F'}) {
        ASSERT_FALSE(versions[file][0].isEmpty() || versions[file][1].isEmpty() || versions[file][0] == versions[file][1]);
        home.write(kFiles[file], versions[file][0]);
    }
    QByteArray olderLog;
    for (int i = 20000; i > 0; --i)
        olderLog += "[01.02.2011 08:00:00] Alter Eintrag " + QByteArray::number(i) + "\r\n";
    home.write(kFiles['L'], olderLog);

    const QRegularExpression entries(QStringLiteral(R"(^(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\] Sicherung \d+\r\n)*$)"));
    const auto expectWholeFiles = [&](const std::string &when) {
        for (const char file : {'U', 'T', 'F'}) {
            const QByteArray now = home.read(kFiles[file]);
            EXPECT_TRUE(now == versions[file][0] || now == versions[file][1])
                << kFiles[file].toStdString() << " is neither version " << when << " (" << now.size() << " bytes)";
        }
        const QByteArray log = home.read(kFiles['L']);
        EXPECT_TRUE(log.endsWith(olderLog)) << "the log lost older entries " << when;
        EXPECT_TRUE(entries.match(QString::fromLatin1(log.chopped(qMin(log.size(), olderLog.size())))).hasMatch())
            << "the log holds a broken entry " << when;
    };

    // One undisturbed round tells how long each save takes in this build.
    QMap<char, qint64> durationUs;
    {
        SaveChild child(home.path(), {QStringLiteral("loop")});
        ASSERT_TRUE(child.waitFor('>', 'L'));
        child.kill();
        for (const char file : {'U', 'T', 'F', 'L'})
            durationUs[file] = qMax<qint64>(1, child.endUs[file] - child.startUs[file]);
    }
    expectWholeFiles("after a whole round");

    // Kills spread over each save from its first moment to its last, half of them in its last fifth,
    // where the bytes reach the disk; some of them must land inside the save, not only between saves.
    constexpr int kKillsPerFile = 24;
    for (const char file : {'U', 'T', 'F', 'L'}) {
        int interrupted = 0;
        for (int i = 0; i < kKillsPerFile; ++i) {
            const double share = double(i) / kKillsPerFile;
            const auto delay = std::chrono::microseconds(qint64(durationUs[file] * (i % 2 ? 0.8 + 0.2 * share : share)));
            SaveChild child(home.path(), {QStringLiteral("loop")});
            ASSERT_TRUE(child.waitFor('<', file));
            std::this_thread::sleep_for(delay);
            child.kill();
            interrupted += child.lastEdge.value(file) == '<';
            expectWholeFiles("after a kill " + std::to_string(delay.count()) + " us into the save of " + kFiles[file].toStdString());
        }
        EXPECT_GE(interrupted, 1) << kFiles[file].toStdString() << " save took " << durationUs[file] << " us";
    }

    // And the station loads what the crashes left without a complaint.
    ScriptedPrompts prompts;
    EXPECT_EQ(std::tuple(loadUnits(false), loadTasks(false), loadFormulare()), std::tuple(true, true, true));
    EXPECT_TRUE(prompts.shown.isEmpty());
}
