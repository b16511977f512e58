#include "core/configsections.h"
#include "core/formularfile.h"
#include "core/generallog.h"
#include "core/tasksfile.h"
#include "core/testlog.h"

#include "stationfiles.h"
#include "support/fulldisk.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <sys/stat.h>

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

TEST_F(DataFiles, AFullDiskIsNamedWhereverTheStationWritesAndLeavesTheOldFile)
{
    write("Units.dat", "alt");
    write("Nuvax.ini", "[AP]\r\nSignalAdr=5\r\n");
    write("logs/AutoTest_2011_03_07.log", "alt\r\n");
    const QString full = QStringLiteral("Datenträger voll");
    const struct {
        const char *file; qint64 room; FullDisk::Fails fails; std::function<bool()> write; QString box; QString told;
    } cases[] = {
        // Part of the bytes taken, then none: a full disk, not a path error.
        {"Units.dat", 100, FullDisk::Fails::Write, [] { return saveUnits(false); },
         "Fehler: 61", "log:Fehler beim Speichern der Geräteliste: " + full},
        {"Units.dat", 0, FullDisk::Fails::Rename, [] { return saveUnits(false); },
         "Fehler: 61", "log:Fehler beim Speichern der Geräteliste: " + full},
        {"Nuvax.ini", 10, FullDisk::Fails::Write, saveSignalConfig,
         "Nuvax", "log:Fehler beim Speichern der Konfiguration für Autoprüfung: " + full},
        {"logs/AutoTest_2011_03_07.log", 3, FullDisk::Fails::Write,
         [] { return appendLog(QStringLiteral("AutoTest_2011_03_07.log"), QStringLiteral("Gerät 042: OK")); },
         {}, "stderr:AutoTest_2011_03_07.log: Fehler 61: " + full + ": Gerät 042: OK"},
        {"logs/Allgemein.log", 10, FullDisk::Fails::Write, [] { return logAllgemein(QStringLiteral("neu")); },
         {}, "stderr:Allgemein.log: Fehler 61: " + full + ": [" + clock.localNow().toString("dd.MM.yyyy HH:mm:ss") + "] neu"},
    };
    for (const auto &c : cases) {
        const QString file = QString::fromUtf8(c.file);
        const QByteArray before = folder.read(file);
        prompts.shown.clear();
        testing::internal::CaptureStderr();
        {
            FullDisk disk(file, c.room, c.fails);
            EXPECT_FALSE(c.write()) << c.file;
        }
        const QString stderrText = QString::fromStdString(testing::internal::GetCapturedStderr());
        if (c.told.startsWith(QStringLiteral("log:")))
            EXPECT_EQ(log().last(), c.told.mid(4));
        else
            EXPECT_TRUE(stderrText.contains(c.told.mid(7))) << stderrText.toStdString();
        EXPECT_EQ(folder.read(file), before) << c.file;
        EXPECT_EQ(prompts.shown.isEmpty() ? QString() : prompts.shown.first().title, c.box);
    }
}

TEST_F(DataFiles, APipeInPlaceOfADataFileIsALoadFailureAndIsNeverOpened)
{
    ASSERT_EQ(::mkfifo(folder.file(QStringLiteral("Units.dat")).toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(loadUnits(false));
    EXPECT_EQ(box(), QStringLiteral("Fehler: 75|Beim Laden der Geräteliste ist folgender fehler aufgetreten:\r\n"
                                    "Fehler beim Zugriff auf Pfad/Datei"));
    // The pipe holds nothing to keep aside; the registry takes its place.
    ASSERT_TRUE(saveUnits(false));
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("Units.dat"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("Units.dat.defekt"))));
}
