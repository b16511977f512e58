// The general log, the daily test logs and the logbook's view of the folder "logs/".
#include "core/logs/generallog.h"
#include "core/logs/keptentries.h"
#include "core/logs/logbook.h"
#include "core/logs/testlog.h"
#include "support/fulldisk.h"
#include "support/stationfiles.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <numeric>

namespace {

class Logs : public StationFiles
{
protected:
    Logs() { clock.setLocal(QDateTime(QDate(2011, 3, 7), QTime(9, 5, 3))); }
    QByteArray read(const QString &name) const { return folder.read(QStringLiteral("logs/") + name); }
    // One entry written on its own, as when nothing else comes within its moment.
    static bool logged(const QString &text)
    {
        logAllgemein(text);
        return flushGeneralLog();
    }
};

} // namespace

TEST_F(Logs, GeneralLogNewestEntryFirstInCodePageBytesOlderEntriesUntouched)
{
    ASSERT_TRUE(logged(QStringLiteral("Gerät 007 gelöscht")));  // makes the missing folder
    clock.advanceMs(13 * 3600 * 1000 + 1500);
    ASSERT_TRUE(logged(QStringLiteral("Zeile 1\r\nZeile 2 €")));
    EXPECT_EQ(read("Allgemein.log"), QByteArray("[07.03.2011 22:05:04] Zeile 1\r\nZeile 2 \x80\r\n"
                                                "[07.03.2011 09:05:03] Ger\xE4t 007 gel\xF6scht\r\n"));
    // Each entry lists the logs anew, which also empties a log being shown.
    EXPECT_EQ(view.logListFills, 2);
    EXPECT_EQ(view.logList, QStringList{QStringLiteral("_Allgemein_")});

    // Megabytes of older entries go on behind the new one byte for byte: nothing of them is decoded.
    QByteArray older(3 * 1024 * 1024 + 7, '\0');
    std::iota(older.begin(), older.end(), 0);
    folder.write(QStringLiteral("logs/Allgemein.log"), older);
    ASSERT_TRUE(logged(QStringLiteral("neu")));
    EXPECT_TRUE(read("Allgemein.log") == "[07.03.2011 22:05:04] neu\r\n" + older);
}

// Entries that come within a moment of each other go into the log in one rewrite once the moment is over,
// each with its own time, newest first: byte for byte what a rewrite for each would have made.
TEST_F(Logs, EntriesWithinAMomentShareOneRewriteAndLeaveTheSameBytes)
{
    ASSERT_TRUE(logged(QStringLiteral("vorher")));
    FullDisk disk(QStringLiteral("Allgemein.log"), qint64(1) << 30);
    for (int i = 1; i <= 3; ++i) {
        clock.advanceMs(700);
        logAllgemein(QStringLiteral("Meldung %1").arg(i));
    }
    EXPECT_EQ(std::pair(disk.m_writes, view.logListFills), std::pair(0, 1)) << "written at once";
    QEventLoop moment;
    QTimer::singleShot(400, &moment, &QEventLoop::quit);
    moment.exec();
    EXPECT_EQ(std::pair(disk.m_writes, view.logListFills), std::pair(2, 2)) << "the new entries and the old ones behind";
    EXPECT_EQ(read("Allgemein.log"), "[07.03.2011 09:05:05] Meldung 3\r\n[07.03.2011 09:05:04] Meldung 2\r\n"
                                     "[07.03.2011 09:05:03] Meldung 1\r\n[07.03.2011 09:05:03] vorher\r\n");
    logAllgemein(QStringLiteral("zuletzt"));
    keptLogEntries().tryAgain();  // the orderly end's
    EXPECT_EQ(disk.m_writes, 4) << "what waits is written at the end";
}

TEST_F(Logs, UnwritableLogsReportFailureToTheirCaller)
{
    folder.write(QStringLiteral("logs"), "x");  // a file where the folder belongs
    EXPECT_FALSE(logged(QStringLiteral("a")));
    EXPECT_FALSE(appendLog(QStringLiteral("t.log"), QStringLiteral("x")));
    EXPECT_FALSE(writeAutoTestLogHeader(QStringLiteral("t.log"), TestArt::Pruefung));
    EXPECT_EQ(view.logListFills, 0);
}

// A general log that cannot be read is not rewritten: its older entries would be lost.
TEST_F(Logs, AGeneralLogThatCannotBeReadIsNotRewritten)
{
    QDir().mkpath(folder.file(QStringLiteral("logs/Allgemein.log")));
    EXPECT_FALSE(logged(QStringLiteral("b")));
    EXPECT_EQ(view.logListFills, 0);
    EXPECT_TRUE(prompts.shown.value(0).text.startsWith(
        "Das Protokoll '" + folder.path() + "logs/Allgemein.log' kann nicht geschrieben werden: Fehler beim Zugriff "
        "auf Pfad/Datei.\r\n"));
}

// A disk full for a while: every entry of that time is kept, the operator is told in one standing box, and
// the next scheduled try puts each entry into its own file in order, with a note from when to when; the box
// then says so. An entry for a file that still has kept entries joins them without a try of its own.
TEST_F(Logs, EntriesThatCannotBeWrittenAreKeptAndWrittenInOrderOnceTheyCan)
{
    ASSERT_TRUE(logged(QStringLiteral("vorher")));
    const QString name = QStringLiteral("AutoTest_2011_03_07.log");
    {
        FullDisk disk(QStringLiteral(".log"), 0);
        clock.advanceMs(60000);
        EXPECT_FALSE(writeAutoTestLogHeader(name, TestArt::Pruefung));
        EXPECT_FALSE(logged(QStringLiteral("eins")));
        clock.advanceMs(1000);
        EXPECT_FALSE(appendLog(name, QStringLiteral("001 Status: OK")));
        EXPECT_FALSE(appendLog(name, QStringLiteral("002 Status: OK")));
        EXPECT_FALSE(logged(QStringLiteral("zwei")));
        EXPECT_EQ(disk.m_writes, 2);  // the first of each file; the rest joined them
        keptLogEntries().tryAgain();  // the orderly end's try, the disk still full
    }
    EXPECT_EQ(read("Allgemein.log"), "[07.03.2011 09:05:03] vorher\r\n");
    EXPECT_EQ(read(name), "");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(std::tuple(prompts.shown[0].isNotice, prompts.shown[0].icon, prompts.shown[0].title),
              std::tuple(true, Prompts::Icon::Critical, QStringLiteral("Protokoll")));
    EXPECT_EQ(prompts.shown[0].text,
              "Das Protokoll '" + folder.path() + "logs/" + name + "' kann nicht geschrieben werden: Datenträger voll.\r\n"
              "Das Protokoll '" + folder.path() + "logs/Allgemein.log' kann nicht geschrieben werden: Datenträger voll.\r\n"
              "Die Einträge werden aufbewahrt und nachgetragen, sobald sie wieder geschrieben werden können.\r\n"
              "Zeitpunkt: 07.03.2011 09:06:04\r\n\r\nNicht geschriebene Einträge seit dem Erscheinen dieser Meldung: 5");

    // Room again: nothing is tried before the minute since the last try is up.
    clock.advanceMs(2000);
    EXPECT_FALSE(logged(QStringLiteral("drei")));
    EXPECT_FALSE(appendLog(name, QStringLiteral("003 Status: OK")));
    clock.advanceMs(57999);
    keptLogEntries().tryAgainWhenDue();
    EXPECT_EQ(read(name), "");
    clock.advanceMs(1);
    keptLogEntries().tryAgainWhenDue();
    const QString note = QStringLiteral("] Das Protokoll '%1' konnte vom 07.03.2011 09:06:03 bis 07.03.2011 09:07:04 nicht "
                                        "geschrieben werden; die aufbewahrten Einträge wurden nachgetragen. Grund: "
                                        "Datenträger voll.\r\n");
    EXPECT_EQ(codepage::decode(read("Allgemein.log")),
              "[07.03.2011 09:07:04" + note.arg("Allgemein.log") + "[07.03.2011 09:07:04" + note.arg(name)
                  + "[07.03.2011 09:06:06] drei\r\n[07.03.2011 09:06:04] zwei\r\n[07.03.2011 09:06:03] eins\r\n"
                    "[07.03.2011 09:05:03] vorher\r\n");
    const QByteArray log = read(name);
    EXPECT_TRUE(log.startsWith("\r\n-----") && log.contains("\r\nUhrzeit: 09:06\r\n")
                && log.endsWith("--------------------\r\n\r\n001 Status: OK\r\n002 Status: OK\r\n003 Status: OK\r\n"))
        << log.toStdString();
    // The standing box no longer says that anything cannot be written.
    ASSERT_EQ(prompts.shown.size(), 1);
    const QString was = "Das Protokoll '" + folder.path() + "logs/%1' war vom 07.03.2011 09:06:03 bis 07.03.2011 "
                        "09:07:04 nicht beschreibbar; die aufbewahrten Einträge wurden nachgetragen.\r\n";
    EXPECT_EQ(std::tuple(prompts.shown[0].icon, prompts.shown[0].text),
              std::tuple(Prompts::Icon::Information,
                         was.arg(name) + was.arg("Allgemein.log") + "Zeitpunkt: 07.03.2011 09:07:04"));
    keptLogEntries().tryAgain();  // nothing is written twice
    EXPECT_EQ(codepage::decode(read("Allgemein.log")).count(QStringLiteral("] drei\r\n")), 1);
}

// A rewrite of the general log needs room for all of it. While the disk has less, the log is not tried again,
// and no test-log line waits for it; the box names the room needed and there.
TEST_F(Logs, AGeneralLogShortOfRoomIsNotRewrittenForEveryLineAndNamesTheRoom)
{
    const QByteArray older(qsizetype(6.3 * 1024 * 1024), 'x');
    folder.write(QStringLiteral("logs/Allgemein.log"), older);
    {
        FullDisk disk(QStringLiteral("Allgemein.log"), 3 * 1024 * 1024);
        disk.m_available = 3 * 1024 * 1024;
        EXPECT_FALSE(logged(QStringLiteral("Meldung")));
        const int writes = disk.m_writes;
        for (int unit = 1; unit <= 12; ++unit) {
            clock.advanceMs(20000);
            EXPECT_TRUE(appendLog(QStringLiteral("t.log"), QString::number(unit)));
            keptLogEntries().tryAgainWhenDue();
        }
        EXPECT_EQ(disk.m_writes, writes);
        EXPECT_TRUE(prompts.shown.value(0).text.startsWith(
            "Das Protokoll '" + folder.path() + "logs/Allgemein.log' kann nicht geschrieben werden: Datenträger voll "
            "(benötigt 6,3 MB, frei 3,0 MB).\r\n"));
    }
    clock.advanceMs(60000);
    keptLogEntries().tryAgainWhenDue();
    const QByteArray log = read("Allgemein.log");
    EXPECT_TRUE(log.endsWith("] Meldung\r\n" + older)
                && codepage::decode(log.first(400)).contains(". Grund: Datenträger voll (benötigt 6,3 MB, frei 3,0 MB).\r\n"));
    EXPECT_EQ(prompts.shown.value(0).icon, Prompts::Icon::Information);
}

// The box tells each log's state as it is now, once: the room of the latest try, a log that fails again
// instead of its line that it was written again. Entries the bound turned away stay in it with its
// warning once the rest is written.
TEST_F(Logs, TheBoxTellsEachLogsPresentStateOnceAndWhatWasLost)
{
    KeptLogEntries store(kGeneralLogName, {3, 1024});
    folder.write(QStringLiteral("logs/Allgemein.log"), QByteArray(2048, 'x'));
    const QString path = "Das Protokoll '" + folder.path() + "logs/";
    {
        FullDisk disk(QStringLiteral("Allgemein.log"), 0);
        disk.m_available = 1000;
        for (const char *entry : {"1\r\n", "2\r\n", "3\r\n", "4\r\n", "5\r\n"})
            EXPECT_TRUE(store.write(kGeneralLogName, LogOrder::NewestFirst, entry));
        EXPECT_TRUE(prompts.shown.value(0).text.startsWith(path + "Allgemein.log' kann nicht geschrieben werden: "
                                                           "Datenträger voll (benötigt 2,0 kB, frei 1000 Byte).\r\n"));
        clock.advanceMs(60000);
        disk.m_available = 1500;
        store.tryAgainWhenDue();  // needs room for the note as well; not tried
        EXPECT_EQ(disk.m_writes, 1);
        const QString text = prompts.shown.value(0).text;
        EXPECT_TRUE(text.startsWith(path + "Allgemein.log' kann nicht geschrieben werden: Datenträger voll "
                                           "(benötigt 2,3 kB, frei 1,5 kB).\r\n")
                    && text.endsWith("Zeitpunkt: 07.03.2011 09:06:03\r\n\r\nNicht geschriebene Einträge seit dem "
                                     "Erscheinen dieser Meldung: 5"))
            << text.toStdString();
    }
    store.tryAgain();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(std::tuple(prompts.shown[0].icon, prompts.shown[0].text),
              std::tuple(Prompts::Icon::Critical,
                         path + "Allgemein.log' war vom 07.03.2011 09:05:03 bis 07.03.2011 09:06:03 nicht beschreibbar; "
                                "die aufbewahrten Einträge wurden nachgetragen. 2 weitere Einträge konnten nicht "
                                "aufbewahrt werden und fehlen.\r\nZeitpunkt: 07.03.2011 09:06:03"));

    {
        FullDisk disk(QStringLiteral(".log"), 0);
        EXPECT_TRUE(store.write(QStringLiteral("t.log"), LogOrder::Appended, "a\r\n"));
    }
    {
        FullDisk disk(QStringLiteral("Allgemein.log"), 0);
        store.tryAgain();  // the test log is written, its note to the general log is not
    }
    const QString text = prompts.shown.value(0).text;
    EXPECT_EQ(text.count("Allgemein.log'"), 1);
    EXPECT_TRUE(text.startsWith(path + "Allgemein.log' kann nicht geschrieben werden: Datenträger voll.\r\n")
                && text.contains(path + "t.log' war vom "))
        << text.toStdString();
}

// What is kept is bounded: an entry that would pass the bound is counted and logged when the rest is
// written, and a test log gets a line where its lines are missing. A name the system finds too long is
// named as such.
TEST_F(Logs, KeptEntriesAreBoundedAndATestLogMarksItsGaps)
{
    KeptLogEntries store(kGeneralLogName, {100, 12});
    {
        FullDisk disk(QStringLiteral("t.log"), 0);
        for (const char *line : {"aaaa\r\n", "bbbbbbbb\r\n", "cc\r\n", "x\r\ny\r\n"})
            EXPECT_TRUE(store.write(QStringLiteral("t.log"), LogOrder::Appended, line));
    }
    EXPECT_TRUE(prompts.shown.value(0).text.contains(
        "Der Platz für aufbewahrte Einträge ist voll: 2 Einträge fehlen.\r\nZeitpunkt"));
    store.tryAgain();
    EXPECT_EQ(read("t.log"), "aaaa\r\n*** Hier fehlt 1 Zeile: sie konnten weder geschrieben noch aufbewahrt werden. ***\r\n"
                             "cc\r\n*** Hier fehlen 2 Zeilen: sie konnten weder geschrieben noch aufbewahrt werden. ***\r\n");
    EXPECT_EQ(log(), QStringList{"Das Protokoll 't.log' konnte vom 07.03.2011 09:05:03 bis 07.03.2011 09:05:03 nicht "
                                 "geschrieben werden; die aufbewahrten Einträge wurden nachgetragen. 2 weitere Einträge "
                                 "konnten nicht aufbewahrt werden und fehlen. Grund: Datenträger voll."});
    EXPECT_EQ(prompts.shown.value(0).icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.shown.value(0).text.contains(
        "t.log' war vom 07.03.2011 09:05:03 bis 07.03.2011 09:05:03 nicht beschreibbar; die aufbewahrten Einträge "
        "wurden nachgetragen. 2 weitere Einträge konnten nicht aufbewahrt werden und fehlen.\r\nZeitpunkt"));

    EXPECT_FALSE(appendLog(QString(300, u'n') + ".log", QStringLiteral("x")));
    EXPECT_TRUE(prompts.shown.value(0).text.contains("' kann nicht geschrieben werden: Pfad oder Dateiname zu lang.\r\n"));
}

TEST_F(Logs, TestLogHeadersThenLinesAndTheNextTestOfTheDayAfterThem)
{
    const QByteArray head =
        "\r\n-------------------------------------------\r\n"
        "   _   _                                   \r\n"
        "  | \\ | |  _   _  __   __   __ _  __  __   \r\n"
        "  |  \\| | | | | | \\ \\ / /  / _` | \\ \\/ /   \r\n"
        "  | |\\  | | |_| |  \\ V /  | (_| |  >  <    \r\n"
        "  |_| \\_|  \\__,_|   \\_/    \\__,_| /_/\\_\\   \r\n"
        "                                           \r\n\r\n"
        "-------------------------------------------\r\n      Ergebnisse der Autopr\xFC" "fung\r\n"
        "-------------------------------------------\r\n\r\n\r\n";
    const QByteArray tail = "\r\n\r\n\r\nDetails der Pr\xFC" "fung:\r\n--------------------\r\n\r\n";
    const QString name = QStringLiteral("AutoTest_2011_03_07.log");
    ASSERT_TRUE(writeAutoTestLogHeader(name, TestArt::Pruefung));
    const QByteArray header = head + "Art der Pr\xFC" "fung: Funktionspr\xFC" "fung\r\n\r\nDatum: 07.03.2011\r\n\r\n"
                                     "Uhrzeit: 09:05\r\n\r\nAnzahl zu pr\xFC" "fender Ger\xE4" "te: 0\r\n" + tail;
    EXPECT_EQ(read(name), header);
    ASSERT_TRUE(appendLog(name, QStringLiteral("001 Status: OK")));
    ASSERT_TRUE(appendLog(name, QStringLiteral("002 Gerät antwortet nicht")));
    EXPECT_EQ(read(name), header + "001 Status: OK\r\n002 Ger\xE4t antwortet nicht\r\n");
    // A second test of the day keeps the first one's results ahead of its own.
    ASSERT_TRUE(writeAutoTestLogHeader(name, TestArt::Pruefung));
    EXPECT_EQ(read(name), header + "001 Status: OK\r\n002 Ger\xE4t antwortet nicht\r\n" + header);

    // A duration test names its battery time; port and instance name appear when known; special units don't count.
    settings().akkulaufzeit = 1;
    settings().portOk = true;
    settings().comPort = 0;
    settings().instanzname = QStringLiteral("Schule Süd");
    for (int addr : {1, 42, 999, 1000, 1005})
        units().at(addr).exists = true;
    clock.setLocal(QDateTime(QDate(2011, 12, 24), QTime(17, 9)));
    ASSERT_TRUE(writeAutoTestLogHeader(QStringLiteral("d.log"), TestArt::Dauertest));
    EXPECT_EQ(read("d.log"), head + "Art der Pr\xFC" "fung: Betriebsdauertest\r\nGew\xE4hlte Akkulaufzeit: 1 Stunde\r\n\r\n"
                                    "Datum: 24.12.2011\r\n\r\nUhrzeit: 17:09\r\n\r\nCOM-Port: COM1\r\n\r\n"
                                    "Instanzname: Schule S\xFC" "d\r\n\r\nAnzahl zu pr\xFC" "fender Ger\xE4" "te: 3\r\n" + tail);
    settings().akkulaufzeit = 3;
    ASSERT_TRUE(writeAutoTestLogHeader(QStringLiteral("e.log"), TestArt::Dauertest));
    EXPECT_TRUE(read("e.log").contains("\r\nGew\xE4hlte Akkulaufzeit: 3 Stunden\r\n\r\nDatum: "));
}

TEST_F(Logs, LogbookListsTheGeneralLogThenTheDaysAndColoursStatusLines)
{
    for (const char *name : {"AutoTest_2011_03_07.log", "AutoTest_2010_12_31.log", "Allgemein.log", "AutoTest_2011_3_7.log",
                             "autotest_2011_03_08.log", "Notizen.log", "AutoTest_2011_03_09.txt", "AutoTest_2011_03_1x.log"})
        folder.write(QStringLiteral("logs/") + QLatin1String(name), "x");
    QDir().mkpath(folder.file(QStringLiteral("logs/AutoTest_2011_03_10.log")));
    fillLogList();
    EXPECT_EQ(view.logList, (QStringList{"_Allgemein_", "2010_12_31", "2011_03_07"}));

    folder.write(QStringLiteral("logs/AutoTest_2011_03_07.log"),
                 "Kopf\r\n007 STATUS: Ok\r\nDetail\r\n008 Status: Fehler\r\nok vor status\r\nstatusok\r\n\r\n");
    // Green, red, or none: a line without colour goes on in the one before it.
    const WinColor none = 1;
    const QList<WinColor> expected{none, kColorGreen, none, kColorRed, kColorRed, kColorGreen, none};
    for (bool colored : {true, false}) {
        showLogFile(QStringLiteral("AutoTest_2011_03_07.log"), colored);
        ASSERT_EQ(view.logLines.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_EQ(view.logLines[i].hasColor ? view.logLines[i].color : none, colored ? expected[i] : none) << i;
    }
    EXPECT_EQ(view.logLines[1].text + view.logLines[6].text, QStringLiteral("007 STATUS: Ok"));
    showLogFile(QStringLiteral("AutoTest_2001_01_01.log"), true);  // a log that is gone leaves the view alone
    EXPECT_EQ(view.logLines.size(), 7);
}
