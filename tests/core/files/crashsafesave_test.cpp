// A station killed in the middle of a save loses nothing: every data file it
// leaves is the complete earlier or the complete later version, and the general
// log holds whole entries in front of its older content.
#include "support/qtprint.h"
#include <gtest/gtest.h>

#include "core/board/formularfile.h"
#include "core/files/tasksfile.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "support/scriptedprompts.h"
#include "support/tempappfolder.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <array>
#include <chrono>
#include <thread>

namespace {

const QMap<char, QString> kFiles = {
    {'U', QStringLiteral("Units.dat")},
    {'T', QStringLiteral("Tasks.dat")},
    {'F', QStringLiteral("Formulare.dat")},
    {'L', QStringLiteral("logs/Allgemein.log")},
};

// The child's report of where it was: the last "<X" or ">X" line per file.
struct ChildTrace
{
    QMap<char, char> lastEdge;
    QMap<char, qint64> startUs, endUs;

    void read(const QByteArray &line)
    {
        if (line.size() < 4)
            return;
        const char edge = line[0], file = line[1];
        lastEdge[file] = edge;
        (edge == '<' ? startUs : endUs)[file] = line.mid(3).trimmed().toLongLong();
    }
};

class SaveChild
{
public:
    explicit SaveChild(const QString &home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("NUVAX_HOME"), home);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
    }

    ~SaveChild()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    void start(const QStringList &args)
    {
        m_process.start(QStringLiteral(NUVAX_SAVECHILD), args);
        ASSERT_TRUE(m_process.waitForStarted());
    }

    // Reads the report until the line "<edge><file>" arrives; false when the child ended first.
    bool waitFor(char edge, char file)
    {
        for (;;) {
            while (m_process.canReadLine()) {
                const QByteArray line = m_process.readLine();
                trace.read(line);
                if (line.size() >= 2 && line[0] == edge && line[1] == file)
                    return true;
            }
            if (!m_process.waitForReadyRead(30000))
                return false;
        }
    }

    void killNow()
    {
        m_process.kill();
        m_process.waitForFinished();
        while (m_process.canReadLine())
            trace.read(m_process.readLine());
    }

    bool finishedCleanly()
    {
        return m_process.waitForFinished(120000) && m_process.exitStatus() == QProcess::NormalExit
               && m_process.exitCode() == 0;
    }

    ChildTrace trace;

private:
    QProcess m_process;
};

class CrashSafeSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int v = 0; v < 2; ++v) {
            TempAppFolder folder;
            SaveChild child(folder.path());
            child.start({QStringLiteral("once"), QString::number(v)});
            ASSERT_TRUE(child.finishedCleanly());
            for (const char file : {'U', 'T', 'F'}) {
                m_versions[file][v] = folder.read(kFiles[file]);
                ASSERT_FALSE(m_versions[file][v].isEmpty()) << kFiles[file].toStdString();
            }
        }
        for (const char file : {'U', 'T', 'F'})
            ASSERT_NE(m_versions[file][0], m_versions[file][1]);

        // The station's files as the earlier version left them, with a long log.
        for (const char file : {'U', 'T', 'F'})
            m_home.write(kFiles[file], m_versions[file][0]);
        for (int i = 20000; i > 0; --i)
            m_olderLog += "[01.02.2011 08:00:00] Alter Eintrag " + QByteArray::number(i) + "\r\n";
        m_home.write(kFiles['L'], m_olderLog);
    }

    // Every file in the program folder is whole; a message names the one that is not.
    void expectFilesWhole(const std::string &when)
    {
        for (const char file : {'U', 'T', 'F'}) {
            const QByteArray now = m_home.read(kFiles[file]);
            EXPECT_TRUE(now == m_versions[file][0] || now == m_versions[file][1])
                << kFiles[file].toStdString() << " is neither version " << when << " (" << now.size()
                << " bytes)";
        }
        static const QRegularExpression entries(
            QStringLiteral(R"(^(\[\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\] Sicherung \d+\r\n)*$)"));
        const QByteArray log = m_home.read(kFiles['L']);
        EXPECT_TRUE(log.endsWith(m_olderLog)) << "the log lost older entries " << when;
        EXPECT_TRUE(entries.match(QString::fromLatin1(log.chopped(qMin(log.size(), m_olderLog.size())))).hasMatch())
            << "the log holds a broken entry " << when;
    }

    TempAppFolder m_home;
    QMap<char, std::array<QByteArray, 2>> m_versions;
    QByteArray m_olderLog;
};

TEST_F(CrashSafeSave, AKillDuringAnySaveLeavesWholeFiles)
{
    // One undisturbed round tells how long each save takes in this build.
    QMap<char, qint64> durationUs;
    {
        SaveChild child(m_home.path());
        child.start({QStringLiteral("loop")});
        ASSERT_TRUE(child.waitFor('>', 'L'));
        child.killNow();
        for (const char file : {'U', 'T', 'F', 'L'})
            durationUs[file] = qMax<qint64>(1, child.trace.endUs[file] - child.trace.startUs[file]);
    }
    expectFilesWhole("after a whole round");

    // Kills spread over the span of each save, from its first moment to its last;
    // half of them in its last fifth, where the bytes reach the disk.
    constexpr int kKillsPerFile = 24;
    QMap<char, int> interrupted;
    for (const char file : {'U', 'T', 'F', 'L'}) {
        for (int i = 0; i < kKillsPerFile; ++i) {
            const double share = double(i) / kKillsPerFile;
            const auto delay = std::chrono::microseconds(
                qint64(durationUs[file] * (i % 2 ? 0.8 + 0.2 * share : share)));
            SaveChild child(m_home.path());
            child.start({QStringLiteral("loop")});
            ASSERT_TRUE(child.waitFor('<', file));
            std::this_thread::sleep_for(delay);
            child.killNow();
            if (child.trace.lastEdge.value(file) == '<')
                ++interrupted[file];
            expectFilesWhole("after a kill " + std::to_string(delay.count()) + " us into the save of "
                             + kFiles[file].toStdString());
        }
    }

    // The kills did land inside the saves, not only between them.
    for (const char file : {'U', 'T', 'F', 'L'})
        EXPECT_GE(interrupted.value(file), 1) << kFiles[file].toStdString() << " save took "
                                              << durationUs[file] << " us";

    // And the station loads what the crashes left without a complaint.
    ScriptedPrompts prompts;
    EXPECT_TRUE(loadUnits(false));
    EXPECT_TRUE(loadTasks(false));
    EXPECT_TRUE(loadFormulare());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

} // namespace
