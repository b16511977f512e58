#include "core/logbook.h"

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

TEST(Logbook, NoFolderListsNothing)
{
    TempAppFolder folder;
    RecordingView view;
    fillLogList();
    EXPECT_EQ(view.logListFills, 1);
    EXPECT_TRUE(view.logList.isEmpty());
}

TEST(Logbook, StatusLinesAreColouredAndOthersCarryOn)
{
    const QStringList lines{QStringLiteral("Kopfzeile"), QStringLiteral("007 STATUS: Ok"),
                            QStringLiteral("Detail"), QStringLiteral("008 Status: Fehler"),
                            QStringLiteral("Akku defekt"), QStringLiteral("ok vor status"),
                            QStringLiteral("statusok")};
    const QList<LogViewLine> shown = colorLogLines(lines, true);
    ASSERT_EQ(shown.size(), lines.size());
    const struct { bool hasColor; WinColor color; } expected[] = {
        {false, 0}, {true, kColorGreen}, {false, 0}, {true, kColorRed},
        {false, 0}, {true, kColorRed}, {true, kColorGreen},
    };
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(shown[i].text, lines[i]);
        EXPECT_EQ(shown[i].hasColor, expected[i].hasColor) << i;
        if (expected[i].hasColor) {
            EXPECT_EQ(shown[i].color, expected[i].color) << i;
        }
    }
    for (const LogViewLine &line : colorLogLines(lines, false))
        EXPECT_FALSE(line.hasColor);
}

TEST(Logbook, ShowsALogLineByLine)
{
    TempAppFolder folder;
    RecordingView view;
    folder.write(QStringLiteral("logs/AutoTest_2011_03_07.log"),
                 "\r\n001 Status OK\r\nGer\xE4t\r\n\r\n");
    showLogFile(QStringLiteral("AutoTest_2011_03_07.log"), true);
    ASSERT_EQ(view.logLines.size(), 4);
    EXPECT_EQ(view.logLines[0].text, QString());
    EXPECT_EQ(view.logLines[1].color, kColorGreen);
    EXPECT_EQ(view.logLines[2].text, QStringLiteral("Gerät"));
    EXPECT_EQ(view.logLines[3].text, QString());

    // A log that is gone leaves the view alone.
    showLogFile(QStringLiteral("AutoTest_2001_01_01.log"), true);
    EXPECT_EQ(view.logLines.size(), 4);
}
