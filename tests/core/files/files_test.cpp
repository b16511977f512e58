// "Nuvax.ini" and its sections, "Tasks.dat", and how every data file fails: a folder, a full disk, a pipe.
#include "core/board/formularfile.h"
#include "core/files/configsections.h"
#include "core/files/inifile.h"
#include "core/files/stationini.h"
#include "core/files/tasksfile.h"
#include "core/logs/generallog.h"
#include "core/logs/keptentries.h"
#include "core/platform/diskwrites.h"
#include "core/platform/oledate.h"
#include "core/registry/unitsfile.h"
#include "support/fulldisk.h"
#include "support/stationfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <functional>
#include <sys/stat.h>

using Files = StationFiles;

TEST_F(Files, IniReadsLikeThePrivateProfileFunctions)
{
    write("Nuvax.ini", "Frei=vor jeder Sektion\r\n  [ com ]  \r\n  PORT =  3  \r\nName=\"  in Anf\xFChrungszeichen  \"\n"
                       "Halb=\"offen\r\nPort=9\r\n[Weiter]\r\nPort=7\r\n[COM]\r\nBluetooth=1\r\n");
    const auto get = [&](const char *section, const char *key, const char *fallback = "-", int buffer = 1024) {
        return inifile::read(folder.file(QStringLiteral("Nuvax.ini")), QString::fromUtf8(section), QString::fromUtf8(key),
                             QString::fromUtf8(fallback), buffer);
    };
    EXPECT_EQ(get("COM", "Port") + '|' + get("Com", "name") + '|' + get("COM", "Halb") + '|' + get("Weiter", "Port"),
              QStringLiteral("3|  in Anführungszeichen  |\"offen|7"));
    EXPECT_EQ(get("COM", "Bluetooth") + get("COM", "Frei"), QStringLiteral("--"));  // only the first such section counts
    EXPECT_EQ(get("Fehlt", "Port", "  vorgabe  "), QStringLiteral("  vorgabe"));
    EXPECT_EQ(get("COM", "Name", "-", 6) + '|' + get("COM", "Fehlt", "abcdef", 4), QStringLiteral("  in |abc"));
}

TEST_F(Files, IniWritesCreateAndKeepEverythingElse)
{
    const QString path = folder.file(QStringLiteral("Nuvax.ini"));
    const auto set = [&](const char *section, const char *key, const char *value) {
        return inifile::write(path, QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value));
    };
    EXPECT_NE(set("Program", "Instanzname", "Halle Süd"), 0);
    EXPECT_EQ(read("Nuvax.ini"), QByteArray("[Program]\r\nInstanzname=Halle S\xFC" "d\r\n"));
    write("Nuvax.ini", "; von Hand\n[COM]\nport=1\n\n[AP]\nSignalAdr=5\n");
    EXPECT_NE(set("com", "PORT", "4"), 0);             // the stored spelling stays
    EXPECT_NE(set("COM", "ComMode", "1"), 0);          // new key at the end of its section
    EXPECT_NE(set("Pruefung", "zeit", "12:00:00"), 0); // new section at the end of the file
    EXPECT_NE(set("AP", "SigResultAktiv", "zwei\r\nZeilen"), 0);
    EXPECT_EQ(read("Nuvax.ini"), QByteArray("; von Hand\r\n[COM]\r\nport=4\r\nComMode=1\r\n\r\n[AP]\r\nSignalAdr=5\r\n"
                                            "SigResultAktiv=zwei  Zeilen\r\n[Pruefung]\r\nzeit=12:00:00\r\n"));
    // A folder in place of the file, or no program folder: the write fails, even as root.
    QFile::remove(path);
    QDir().mkpath(path);
    EXPECT_EQ(set("AP", "SignalAdr", "1"), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(inifile::write(folder.file(QStringLiteral("fehlt/Nuvax.ini")), "AP", "SignalAdr", "1"), 0);
}

TEST_F(Files, ScheduleAndSignalKeysTakeTheirDefaultsUnlessInRangeAsWritten)
{
    int apRefreshes = 0;
    refreshHooks().aktualisiereAPAnzeige = [&] { ++apRefreshes; };
    // Each key scrambled first, so that one left alone shows; then: aktiv intervall monat tag zeit of
    // both schedules, akkulaufzeit SignalAdr SigResultAktiv.
    const auto load = [&](const QByteArray &ini) {
        write("Nuvax.ini", ini);
        StationSettings &s = settings();
        s.pruefung = s.dauertest = {true, 9, 9, 9, QTime(1, 2, 3)};
        s.akkulaufzeit = s.signalAdr = 9;
        s.sigResultAktiv = true;
        loadAutoPruefungConfig();
        const auto t = [](const TestSchedule &x) {
            return QStringLiteral("%1 %2 %3 %4 %5 ").arg(x.aktiv).arg(x.intervall).arg(x.monat).arg(x.tag).arg(x.zeit.toString("HH:mm:ss"));
        };
        return t(s.pruefung) + t(s.dauertest) + QStringLiteral("%1 %2 %3").arg(s.akkulaufzeit).arg(s.signalAdr).arg(s.sigResultAktiv);
    };
    // Ranges are checked on the number as written, before it is rounded half to even.
    const struct { const char *ini, *loaded; } cases[] = {
        {"", "0 2 0 6 12:00:00 0 1 0 6 05:00:00 0 0 0"},
        {"[Pruefung]\nintervall=3\nzeit=7:30\n[Dauertest]\nintervall=3\ntag=7\nakkulaufzeit= 3 \naktiv=wahr\n"
         "[AP]\nSignalAdr=\"998.5\"\nSigResultAktiv=-1", "0 3 0 6 07:30:00 1 1 0 6 05:00:00 3 998 1"},
        {"[pruefung]\nintervall=2.5\nMONAT=10.5\nzeit=07:30:15\n[Dauertest]\nakkulaufzeit=2\naktiv=FALSCH\n"
         "[AP]\nSignalAdr=1000\nSigResultAktiv=ja", "0 2 10 6 07:30:15 0 1 0 6 05:00:00 0 0 0"},
        {"[Pruefung]\nintervall=3.4\nzeit=25:00\n[AP]\nSignalAdr=999.4", "0 2 0 6 12:00:00 0 1 0 6 05:00:00 0 0 0"},
        {"[Pruefung]\nintervall=abc\nzeit=mittags\naktiv=-1", "1 0 0 6 12:00:00 0 1 0 6 05:00:00 0 0 0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(load(c.ini), QString::fromLatin1(c.loaded)) << c.ini;
    EXPECT_EQ(apRefreshes, 5);

    const QDateTime run(QDate(2024, 3, 31), QTime(2, 5, 9));
    EXPECT_EQ(initext::parseDateTime(initext::dateTimeText(run)), run);
    EXPECT_EQ(initext::parseDateTime(QStringLiteral("2024-03-31T02:05:09")), run);
    for (const char *never : {"0", "00:00:00", "31.02.2024", "31.03.2024 25:00"})
        EXPECT_EQ(initext::parseDateTime(QString::fromUtf8(never)), oledate::zero()) << never;
}

TEST_F(Files, InstanceNameWindowPlaceAndTheSavedSettingsText)
{
    write("Nuvax.ini", "[Program]\nInstanzname=B\nWindowHeight=4500\nWindowLeft=abc\n");
    loadInstanzname();
    EXPECT_EQ(std::pair(settings().instanzname, view.caption), std::pair(QStringLiteral("B"), QStringLiteral("Nuvax PC-Zentrale - B")));
    // Centred by the size before the stored height applies: (1920 - 801) / 2 pixels
    // is 8392.5 twips, rounded to even 8392, which is 559 pixels.
    view.geometry = QRect(0, 0, 801, 600);
    view.screen = QSize(1920, 1080);
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(559, 240, 801, 300));
    view.geometry = QRect(10, 20, 640, 480);
    saveWindowPos();
    EXPECT_EQ(read("Nuvax.ini"), QByteArray("[Program]\r\nInstanzname=B\r\nWindowHeight=7200\r\nWindowLeft=150\r\n"
                                            "WindowTop=300\r\nWindowWidth=9600\r\n"));
    view.geometry = QRect();
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(10, 20, 640, 480));
    // Only 1023 characters of a value are seen, 99 of a window key (too many digits: unreadable).
    write("Nuvax.ini", "[Program]\nInstanzname=" + QByteArray(1500, 'n') + "\nWindowTop=" + QByteArray(120, '1'));
    loadInstanzname();
    EXPECT_EQ(view.instanzname, QString(1023, u'n'));
    view.geometry = QRect(0, 0, 800, 600);
    loadWindowPos();
    EXPECT_EQ(view.geometry, QRect(560, 240, 800, 600));

    QFile::remove(folder.file(QStringLiteral("Nuvax.ini")));
    settings().pruefung = {true, 3, 4, 0, QTime(7, 30)};
    settings().dauertest = {false, 0, 11, 5, QTime(23, 59, 59)};
    std::tie(settings().akkulaufzeit, settings().signalAdr, settings().sigResultAktiv) = std::tuple(3, 17, true);
    EXPECT_TRUE(saveAutoPruefungConfig() && saveSignalConfig());
    EXPECT_EQ(read("Nuvax.ini"), QByteArray("[Pruefung]\r\naktiv=True\r\nintervall=3\r\nmonat=4\r\ntag=0\r\nzeit=07:30:00\r\n"
                                            "[Dauertest]\r\naktiv=False\r\nintervall=0\r\nmonat=11\r\ntag=5\r\nzeit=23:59:59\r\n"
                                            "akkulaufzeit=3\r\n[AP]\r\nSignalAdr=17\r\nSigResultAktiv=True\r\n"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Files, UnwritableIniShowsTheWriteRightsBoxForEachSave)
{
    QDir().mkpath(folder.file(QStringLiteral("Nuvax.ini")));  // a folder in place of the file: no write succeeds, even as root
    EXPECT_FALSE(saveAutoPruefungConfig() || saveSignalConfig());
    const QString path = folder.path() + QStringLiteral("Nuvax.ini");
    ASSERT_EQ(prompts.shown.size(), 2);
    for (const auto &box : prompts.shown) {
        EXPECT_EQ(box.text, "Fehler beim Speichern der Konfiguration!\r\nStellen Sie sicher, dass das Programm Schreibrechte auf die Datei '"
                                + path + "' hat.\r\nSolange das Problem weiterbesteht, kann die Prüfung nicht fortgesetzt werden!");
        EXPECT_EQ(std::pair(box.title, box.icon), std::pair(QStringLiteral("Nuvax"), Prompts::Icon::Critical));
    }
    const QString failed = QStringLiteral("Fehler beim Speichern der Konfiguration für Autoprüfung: ");
    EXPECT_EQ(log(), (QStringList{"WARNUNG: Fehlende Schreibrechte auf '" + path + u'\'', failed, failed}));
}

namespace {

TaskRecord sampleTask(const QString &id)
{
    TaskRecord task;
    task.aktiv = task.belegt = true;
    task.beschreibung = QStringLiteral("Licht Ä");
    task.uhrzeit = QDateTime(QDate(1899, 12, 30), QTime(7, 30));
    task.wochentage[0] = task.wochentage[6] = task.monate[0] = task.monate[11] = true;
    task.aktion = 1;
    task.gruppen[5] = task.adressen[999] = true;
    task.sperreBis = 2.5;  // 01.01.1900 12:00
    task.taskId = id;
    return task;
}

} // namespace

TEST_F(Files, TaskRecordLayoutByteForByte)
{
    const QByteArray on("\xFF\xFF", 2), off(2, '\0');
    const QByteArray bytes = encodeTaskRecord(sampleTask(QStringLiteral("ABCDEFGHIJKLMNOPQRS}")));
    EXPECT_EQ(bytes, on + on + "Licht \xC4" + QByteArray(248, ' ') + QByteArray("\0\0\0\0\0\0\xD4\x3F", 8)  // 0.3125 days
                         + on + off.repeated(5) + on + on + off.repeated(10) + on + QByteArray("\x01\0\0\0", 4) + off.repeated(5)
                         + on + off.repeated(94) + off.repeated(999) + on + QByteArray("\0\0\0\0\0\0\x04\x40", 8)  // 2.5 days
                         + "ABCDEFGHIJKLMNOPQRS}");
    EXPECT_EQ(encodeTaskRecord(decodeTaskRecord(bytes)), bytes);
}

TEST_F(Files, UsedTaskSlotsArePackedOnSaveAndComeBackInTheLowestSlots)
{
    int listFills = 0;
    refreshHooks().fillTaskList = [&] { ++listFills; };
    ASSERT_TRUE(loadTasks(true));  // a missing file is created empty
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Tasks.dat"))));
    tasks().at(3) = sampleTask(QStringLiteral("drei"));
    tasks().at(7) = sampleTask(QStringLiteral("sieben"));
    tasks().at(8) = sampleTask(QStringLiteral("frei"));
    tasks().at(8).belegt = false;
    ASSERT_TRUE(saveTasks(true));
    EXPECT_EQ(listFills, 2);
    ASSERT_EQ(read("Tasks.dat").size(), 2 * kTaskRecordSize);
    write("Tasks.dat", read("Tasks.dat") + QByteArray(26, 'x'));  // a trailing part shorter than a record is no task
    ASSERT_TRUE(loadTasks(false));
    EXPECT_EQ(tasks().at(1).taskId.trimmed() + tasks().at(2).taskId.trimmed(), QStringLiteral("dreisieben"));
    EXPECT_FALSE(tasks().at(7).belegt || tasks().at(7).aktiv || tasks().at(3).belegt);
    tasks().at(1).belegt = tasks().at(2).belegt = false;
    ASSERT_TRUE(saveTasks(false));
    EXPECT_EQ(std::tuple(read("Tasks.dat").size(), listFills, prompts.shown.size()), std::tuple(0, 2, 0));

    // More than a hundred: the first hundred load, and the file is kept aside before it is replaced.
    const QByteArray bytes = encodeTaskRecord(sampleTask(QStringLiteral("x"))).repeated(100) + encodeTaskRecord(sampleTask(QStringLiteral("101")));
    write("Tasks.dat", bytes);
    EXPECT_FALSE(loadTasks(true));
    EXPECT_EQ(tasks().at(100).taskId.trimmed(), QStringLiteral("x"));
    EXPECT_EQ(box(), QStringLiteral("Nuvax|Beim Laden der Tasks ist folgender Fehler aufgetreten:\r\nIndex außerhalb des gültigen Bereichs"));
    ASSERT_TRUE(saveTasks(false));
    EXPECT_EQ(read("Tasks.dat.defekt"), bytes);
    EXPECT_EQ(read("Tasks.dat").size(), 100 * kTaskRecordSize);
    EXPECT_EQ(log().first(), QStringLiteral("Fehler beim Laden der Tasks: Index außerhalb des gültigen Bereichs"));
}

TEST_F(Files, FailedSavesLeaveTheOldFileAndNameTheirCauseAFullDiskToo)
{
    write("Units.dat", "alt");
    write("Nuvax.ini", "[AP]\r\nSignalAdr=5\r\n");
    const QString full = QStringLiteral("Datenträger voll"), path = QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    const QString unitsBox = QStringLiteral("|Beim Speichern der Geräteliste ist folgender fehler aufgetreten:\r\n");
    constexpr qint64 kFolder = std::numeric_limits<qint64>::max();  // room enough, but a folder in place of the file
    const struct { const char *file; qint64 room; std::function<bool()> write; QString box, told; } cases[] = {
        // Part of the bytes taken, then none: a full disk, not a path error. Or the final rename fails.
        {"Units.dat", 100, [] { return saveUnits(false); }, "Fehler: 61" + unitsBox + full, "Fehler beim Speichern der Geräteliste: " + full},
        {"Units.dat", -1, [] { return saveUnits(false); }, "Fehler: 61" + unitsBox + full, "Fehler beim Speichern der Geräteliste: " + full},
        {"Nuvax.ini", 10, saveSignalConfig, "Nuvax|", "Fehler beim Speichern der Konfiguration für Autoprüfung: " + full},
        {"logs/Allgemein.log", 10, [] { logAllgemein(QStringLiteral("neu")); return flushGeneralLog(); }, {},
         "Allgemein.log: Fehler 61: " + full + ": [" + clock.localNow().toString("dd.MM.yyyy HH:mm:ss") + "] neu\n"},
        {"Units.dat", kFolder, [] { return saveUnits(true); }, "Fehler: 75" + unitsBox + path, "Fehler beim Speichern der Geräteliste: " + path},
        {"Tasks.dat", kFolder, [] { return saveTasks(true); }, "Nuvax|Beim Speichern der Tasks ist folgender Fehler aufgetreten:\r\n" + path,
         "Fehler beim Speichern der Tasks: " + path},
        {"Formulare.dat", kFolder, saveFormulare, "Nuvax|Beim Speichern der Formulare ist folgender Fehler aufgetreten:\r\n" + path,
         "Fehler beim Speichern der Formulare: " + path},
    };
    for (const auto &c : cases) {
        const QString file = QString::fromUtf8(c.file);
        if (c.room == kFolder)
            QFile::remove(folder.file(file)), QDir().mkpath(folder.file(file));
        const QByteArray before = folder.read(file);
        prompts.shown.clear();
        testing::internal::CaptureStderr();
        {
            FullDisk disk(file, c.room);
            EXPECT_FALSE(c.write()) << c.file;
        }
        const QString stderrText = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_EQ(c.box.isEmpty() ? stderrText : log().last(), c.told);
        EXPECT_EQ(prompts.shown.isEmpty() ? QString() : box().left(c.box.size()), c.box) << c.file;
        EXPECT_TRUE(prompts.shown.isEmpty() || prompts.shown.first().icon == Prompts::Icon::Critical) << c.file;
        EXPECT_EQ(folder.read(file), before) << c.file;
        keptLogEntries().tryAgain();  // the log's next try, with room again
    }
    EXPECT_EQ(view.unitListFills, 0);
}

TEST_F(Files, APipeInPlaceOfADataFileIsALoadFailureAndIsNeverOpened)
{
    ASSERT_EQ(::mkfifo(folder.file(QStringLiteral("Units.dat")).toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(loadUnits(false));
    EXPECT_EQ(box(), QStringLiteral("Fehler: 75|Beim Laden der Geräteliste ist folgender fehler aufgetreten:\r\nFehler beim Zugriff auf Pfad/Datei"));
    // Nothing in it to keep aside: the registry takes its place.
    ASSERT_TRUE(saveUnits(false));
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("Units.dat"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("Units.dat.defekt"))));
}
