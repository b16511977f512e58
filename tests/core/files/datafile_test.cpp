#include "core/board/formularfile.h"
#include "core/files/configsections.h"
#include "core/files/tasksfile.h"
#include "core/logs/generallog.h"
#include "core/platform/diskwrites.h"

#include "core/registry/unitsfile.h"
#include "support/stationfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <functional>
#include <sys/stat.h>

using DataFiles = StationFiles;

namespace {

// A disk with room for only so many more bytes of the files whose names end in
// a given text: it takes part of a write, then fails the next with ENOSPC, as a
// full disk does. Room -1 takes every byte but fails the final rename.
class FullDisk : public DiskWrites
{
public:
    FullDisk(const QString &fileName, qint64 room) : m_fileName(fileName), m_room(room) { installDiskWrites(this); }
    ~FullDisk() override { installDiskWrites(nullptr); }

    qint64 write(QFileDevice &file, const char *data, qint64 size) override
    {
        if (m_room < 0 || !file.fileName().endsWith(m_fileName))
            return DiskWrites::write(file, data, size);
        if (m_room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 taken = DiskWrites::write(file, data, qMin(size, m_room));
        m_room -= qMax<qint64>(taken, 0);
        return taken;
    }
    std::optional<FileError> commit(QSaveFile &file) override
    {
        if (m_room >= 0 || !file.fileName().endsWith(m_fileName))
            return DiskWrites::commit(file);
        file.cancelWriting();
        file.commit();
        return FileError::fromErrno(ENOSPC);
    }

private:
    QString m_fileName;
    qint64 m_room;
};

} // namespace

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
    const QString full = QStringLiteral("Datenträger voll");
    const struct { const char *file; qint64 room; std::function<bool()> write; QString box, told; } cases[] = {
        // Part of the bytes taken, then none: a full disk, not a path error. Or the final rename fails.
        {"Units.dat", 100, [] { return saveUnits(false); }, "Fehler: 61", "Fehler beim Speichern der Geräteliste: " + full},
        {"Units.dat", -1, [] { return saveUnits(false); }, "Fehler: 61", "Fehler beim Speichern der Geräteliste: " + full},
        {"Nuvax.ini", 10, saveSignalConfig, "Nuvax", "Fehler beim Speichern der Konfiguration für Autoprüfung: " + full},
        {"logs/Allgemein.log", 10, [] { return logAllgemein(QStringLiteral("neu")); }, {},
         "Allgemein.log: Fehler 61: " + full + ": [" + clock.localNow().toString("dd.MM.yyyy HH:mm:ss") + "] neu\n"},
    };
    for (const auto &c : cases) {
        const QString file = QString::fromUtf8(c.file);
        const QByteArray before = folder.read(file);
        prompts.shown.clear();
        testing::internal::CaptureStderr();
        {
            FullDisk disk(file, c.room);
            EXPECT_FALSE(c.write()) << c.file;
        }
        const QString stderrText = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_EQ(c.box.isEmpty() ? stderrText : log().last(), c.told);
        EXPECT_EQ(prompts.shown.isEmpty() ? QString() : prompts.shown.first().title, c.box);
        EXPECT_EQ(folder.read(file), before) << c.file;
    }
}

TEST_F(DataFiles, APipeInPlaceOfADataFileIsALoadFailureAndIsNeverOpened)
{
    ASSERT_EQ(::mkfifo(folder.file(QStringLiteral("Units.dat")).toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(loadUnits(false));
    EXPECT_EQ(box(), QStringLiteral("Fehler: 75|Beim Laden der Geräteliste ist folgender fehler aufgetreten:\r\n"
                                    "Fehler beim Zugriff auf Pfad/Datei"));
    // Nothing in it to keep aside: the registry takes its place.
    ASSERT_TRUE(saveUnits(false));
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("Units.dat"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("Units.dat.defekt"))));
}
