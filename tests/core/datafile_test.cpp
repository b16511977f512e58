#include "core/formularfile.h"
#include "core/tasksfile.h"
#include "core/unitregistry.h"

#include "logentries.h"
#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(DataFiles, FailedSavesLeaveTheOldFileAndNameTheirContent)
{
    const struct { const char *file; bool (*save)(); const char *box; const char *title; const char *log; } cases[] = {
        {"Units.dat", [] { return saveUnits(true); }, "Beim Speichern der Geräteliste ist folgender fehler aufgetreten:",
         "Fehler: 75", "Fehler beim Speichern der Geräteliste: "},
        {"Tasks.dat", [] { return saveTasks(true); }, "Beim Speichern der Tasks ist folgender Fehler aufgetreten:",
         "Nuvax", "Fehler beim Speichern der Tasks: "},
        {"Formulare.dat", saveFormulare, "Beim Speichern der Formulare ist folgender Fehler aufgetreten:",
         "Nuvax", "Fehler beim Speichern der Formulare: "},
    };
    for (const auto &c : cases) {
        TempAppFolder folder;
        FakeClock clock;
        RecordingView view;
        ScriptedPrompts prompts;
        // A folder in place of the file: no save succeeds, even as root.
        QDir().mkpath(folder.file(QString::fromUtf8(c.file)));
        EXPECT_FALSE(c.save()) << c.file;
        EXPECT_EQ(view.unitListFills, 0);
        ASSERT_EQ(prompts.shown.size(), 1);
        const QString reason = QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
        EXPECT_EQ(prompts.shown.at(0).text, QString::fromUtf8(c.box) + QStringLiteral("\r\n") + reason);
        EXPECT_EQ(std::pair(prompts.shown.at(0).title, prompts.shown.at(0).icon),
                  std::pair(QString::fromUtf8(c.title), Prompts::Icon::Critical));
        EXPECT_EQ(generalLogEntries(folder), QStringList{QString::fromUtf8(c.log) + reason});
        EXPECT_TRUE(QFileInfo(folder.file(QString::fromUtf8(c.file))).isDir());
    }
}
