#include "core/formularfile.h"
#include "core/tasksfile.h"

#include "stationfiles.h"

#include <QDir>

using DataFiles = StationFiles;

TEST_F(DataFiles, FailedSavesLeaveTheOldFileAndNameTheirContent)
{
    const struct { const char *file; bool (*save)(); const char *box; const char *log; } cases[] = {
        {"Units.dat", [] { return saveUnits(true); },
         "Fehler: 75|Beim Speichern der Geräteliste ist folgender fehler aufgetreten:", "Fehler beim Speichern der Geräteliste: "},
        {"Tasks.dat", [] { return saveTasks(true); },
         "Nuvax|Beim Speichern der Tasks ist folgender Fehler aufgetreten:", "Fehler beim Speichern der Tasks: "},
        {"Formulare.dat", saveFormulare,
         "Nuvax|Beim Speichern der Formulare ist folgender Fehler aufgetreten:", "Fehler beim Speichern der Formulare: "},
    };
    const QString reason = QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    for (const auto &c : cases) {
        // A folder in place of the file: no save succeeds, even as root.
        QDir().mkpath(folder.file(QString::fromUtf8(c.file)));
        prompts.shown.clear();
        EXPECT_FALSE(c.save()) << c.file;
        EXPECT_EQ(box(), QString::fromUtf8(c.box) + QStringLiteral("\r\n") + reason);
        EXPECT_EQ(prompts.shown.last().icon, Prompts::Icon::Critical);
        EXPECT_EQ(log().last(), QString::fromUtf8(c.log) + reason);
    }
    EXPECT_EQ(view.unitListFills, 0);
}
