// What a port's lock file says about its holder (the file the driver really takes: executable test).
#include "device/link/portlock.h"
#include "support/tempappfolder.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

// A file whose process has ended is stale; one without a process number names nobody.
TEST(PortLock, AFileNamesItsHolderAndOneWhoseProcessEndedIsStale)
{
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted(5000));
    const qint64 endedPid = ended.processId(), ownPid = QCoreApplication::applicationPid();
    ASSERT_TRUE(ended.waitForFinished(5000));
    TempAppFolder folder;
    const QString lock = folder.file(QStringLiteral("LCK..ttyS0"));
    const struct { QByteArray content; PortHolder holder; } cases[] = {
        {QByteArray::number(endedPid) + "\nnuvax\nhost\n", {endedPid, lock}},
        {"  " + QByteArray::number(ownPid) + "\n", {ownPid, {}}},
        {"nuvax\n4711\n", {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        folder.write(QStringLiteral("LCK..ttyS0"), c.content);
        const PortHolder holder = lockHolder(lock);
        EXPECT_EQ(std::pair(holder.pid, holder.staleLockFile), std::pair(c.holder.pid, c.holder.staleLockFile))
            << c.content.toStdString();
    }
    EXPECT_EQ(lockHolder(folder.file(QStringLiteral("LCK..ttyS1"))).pid, 0);
}
