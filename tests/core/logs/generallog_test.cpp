#include "core/logs/generallog.h"

#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/tempappfolder.h"

#include <QDir>
#include <numeric>
#include <gtest/gtest.h>

TEST(GeneralLog, NewestEntryFirstInCodePageBytes)
{
    TempAppFolder folder;
    FakeClock clock(QDateTime(QDate(2011, 3, 7), QTime(9, 5, 3)));
    RecordingView view;

    // No "logs" folder yet: the first entry makes it.
    ASSERT_TRUE(logAllgemein(QStringLiteral("Gerät 007 gelöscht")));
    EXPECT_EQ(folder.read(QStringLiteral("logs/Allgemein.log")),
              QByteArray("[07.03.2011 09:05:03] Ger\xE4t 007 gel\xF6scht\r\n"));

    clock.advanceMs(13 * 3600 * 1000 + 1500);
    ASSERT_TRUE(logAllgemein(QStringLiteral("Zeile 1\r\nZeile 2 €")));
    EXPECT_EQ(folder.read(QStringLiteral("logs/Allgemein.log")),
              QByteArray("[07.03.2011 22:05:04] Zeile 1\r\nZeile 2 \x80\r\n"
                         "[07.03.2011 09:05:03] Ger\xE4t 007 gel\xF6scht\r\n"));

    // Each entry lists the logs anew, which also empties a log being shown.
    EXPECT_EQ(view.logListFills, 2);
    EXPECT_EQ(view.logList, QStringList{QStringLiteral("_Allgemein_")});

    // Older entries of megabytes go on behind the new one byte for byte, whatever
    // they hold: nothing of them is decoded.
    QByteArray older(3 * 1024 * 1024 + 7, '\0');
    std::iota(older.begin(), older.end(), 0);
    folder.write(QStringLiteral("logs/Allgemein.log"), older);
    ASSERT_TRUE(logAllgemein(QStringLiteral("neu")));
    EXPECT_TRUE(folder.read(QStringLiteral("logs/Allgemein.log")) == "[07.03.2011 22:05:04] neu\r\n" + older);
}

TEST(GeneralLog, UnwritableLogReportsFailureAndKeepsOlderEntries)
{
    TempAppFolder folder;
    FakeClock clock;
    RecordingView view;

    // A file where the folder belongs.
    folder.write(QStringLiteral("logs"), "x");
    EXPECT_FALSE(logAllgemein(QStringLiteral("a")));
    QFile::remove(folder.file(QStringLiteral("logs")));

    // A folder where the log belongs.
    QDir().mkpath(folder.file(QStringLiteral("logs/Allgemein.log")));
    EXPECT_FALSE(logAllgemein(QStringLiteral("b")));
    EXPECT_EQ(view.logListFills, 0);
}
