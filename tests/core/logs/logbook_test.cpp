#include "core/logs/logbook.h"

#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/tempappfolder.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Logbook, ListsTheGeneralLogThenTheDaysAscending)
{
    TempAppFolder folder;
    RecordingView view;
    for (const char *name : {"AutoTest_2011_03_07.log", "AutoTest_2010_12_31.log", "Allgemein.log",
                             "AutoTest_2011_3_7.log", "autotest_2011_03_08.log", "Notizen.log",
                             "AutoTest_2011_03_09.txt", "AutoTest_2011_03_1x.log"})
        folder.write(QStringLiteral("logs/") + QLatin1String(name), "x");
    QDir().mkpath(folder.file(QStringLiteral("logs/AutoTest_2011_03_10.log")));

    fillLogList();
    EXPECT_EQ(view.logList, (QStringList{QStringLiteral("_Allgemein_"), QStringLiteral("2010_12_31"),
                                         QStringLiteral("2011_03_07")}));
}

TEST(Logbook, ShowsALogWithItsStatusLinesColoured)
{
    TempAppFolder folder;
    RecordingView view;
    folder.write(QStringLiteral("logs/AutoTest_2011_03_07.log"),
                 "Kopf\r\n007 STATUS: Ok\r\nDetail\r\n008 Status: Fehler\r\nok vor status\r\n"
                 "statusok\r\n\r\n");
    // Green, red, or none: a line without colour goes on in the one before it.
    const WinColor none = 1;
    const QList<WinColor> expected{none, kColorGreen, none, kColorRed, kColorRed, kColorGreen, none};
    for (bool colored : {true, false}) {
        showLogFile(QStringLiteral("AutoTest_2011_03_07.log"), colored);
        ASSERT_EQ(view.logLines.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_EQ(view.logLines[i].hasColor ? view.logLines[i].color : none,
                      colored ? expected[i] : none) << i;
    }
    EXPECT_EQ(view.logLines[1].text, QStringLiteral("007 STATUS: Ok"));
    EXPECT_EQ(view.logLines[6].text, QString());

    // A log that is gone leaves the view alone.
    showLogFile(QStringLiteral("AutoTest_2001_01_01.log"), true);
    EXPECT_EQ(view.logLines.size(), 7);
}
