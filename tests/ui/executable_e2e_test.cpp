// The built program as an installation runs it, on a pseudo-terminal with simulated units, ended by
// SIGTERM; what it leaves on the wire and on disk is compared byte for byte.
#include "core/files/tasksfile.h"
#include "device/link/portlock.h"
#include "ui/uitest.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Who starts in the guard's cases: this test's own user, or another one by number through setpriv.
constexpr int kSelf = -1;
constexpr int kOperatorA = 4001;
constexpr int kOperatorB = 4002;
constexpr int kOperators = 4000;
constexpr int kNobody = 65534;

// The user nobody, who may not write the folder, takes the name later starts ask its station through, and
// answers "1" to every start. False when it could not.
bool answerAsNobody(QProcess &stranger, const QString &home)
{
    const QByteArray name = "nuvax-station/" + QCryptographicHash::hash(QFileInfo(home).canonicalFilePath().toUtf8(),
                                                                        QCryptographicHash::Sha256).toHex();
    stranger.start(QStringLiteral("setpriv"), {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "socat",
                                               "ABSTRACT-LISTEN:" + name + ",fork", "SYSTEM:printf 1"});
    return waitUntil([&] {
        QFile sockets(QStringLiteral("/proc/net/unix"));
        return sockets.open(QIODevice::ReadOnly) && sockets.readAll().contains("@" + name);
    }, 5000);
}

// The user nobody holds a read lock on every file of the folder it can open (a struct flock as 64-bit Linux
// lays it out). False when it holds none.
bool readLockAsNobody(QProcess &reader, const QString &home)
{
    reader.start(QStringLiteral("setpriv"),
                 {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "perl", "-MFcntl", "-e",
                  "my $lock = pack('ssx4qqix4', F_RDLCK, 0, 0, 0, 0); for (glob(shift . '*')) { open(my $f, '<', $_) "
                  "or next; push(@held, $f) if fcntl($f, F_SETLK, $lock) } $| = 1; print scalar(@held), qq(\n); sleep",
                  home});
    return reader.waitForReadyRead(5000) && reader.readAll().trimmed().toInt() > 0;
}

QString padded(const QString &text, int width) { return text.leftJustified(width, u' ', true); }

// Unit 042, a deleted 007, never-touched records (NUL bytes); filled: short texts padded to their field.
// A contact's description holds a line break pasted with it, and what reads as an entry of the log.
QByteArray unitsFile(bool fieldsFilled)
{
    const auto field = [=](const QString &text, int width) { return fieldsFilled ? padded(text, width) : text; };
    QByteArray bytes;
    for (int adr = 1; adr <= 2000; ++adr) {
        if (adr == 42)
            bytes += unitRecord(1, true,
                                padded(QStringLiteral("Flur Süd"), 300)
                                    + padded(QStringLiteral("Tür 1\r\n[01.01.2020 00:00:00] Tür 2"), 300)
                                    + padded({}, 300) + field(QStringLiteral("Brandmeldezentrale"), 300),
                                QStringLiteral("042S00403019"),
                                field(QStringLiteral("\tStatus: Kontakt 1 FEHLER\r\n\tStatus: Kontakt 3 FEHLER\r\n"),
                                      1024));
        else if (adr == 7)
            bytes += unitRecord(0, false, field({}, 1200), field({}, 12), field({}, 1024));
        else
            bytes += unitRecord(0, false, QString(1200, QChar(0)), QString(12, QChar(0)), QString(1024, QChar(0)));
    }
    return bytes;
}

// A board changed at midnight is stored with its date alone.
QByteArray boardsFile(const QString &midnight)
{
    return codepage::encode(QStringLiteral("\"042;120;80|007;300;95|\"\r\n\"Erdgeschoss Nordflügel\"\r\n\"/srv/pläne/eg.png\"\r\n"
                                           "#2012-05-03 14:07:00#\r\n\"EG\"\r\n1024\r\n768\r\n\"\"\r\n\"\"\r\n\"\"\r\n#%1#\r\n"
                                           "\"Leer\"\r\n0\r\n0\r\n").arg(midnight));
}

// The window measures in whole pixels of 15 twips. Its width is above the least the window takes once its
// status bar holds the date, so the width saved does not depend on when the station is ended.
QByteArray iniFile(const char *width, const char *signalAdr, const char *sigResultAktiv)
{
    return QStringLiteral("[Program]\r\nInstanzname=Halle 3\r\nWindowTop=900\r\nWindowLeft=1500\r\nWindowHeight=7200\r\n"
                          "WindowWidth=%1\r\n[COM]\r\nPort=0\r\nComMode=1\r\n[AP]\r\nSignalAdr=%2\r\nSigResultAktiv=%3\r\n")
        .arg(width, signalAdr, sigResultAktiv).toLatin1();
}

// Where a file departs from the expected bytes, -1 when it does not: a readable failure for megabytes.
qsizetype departsAt(const QByteArray &actual, const QByteArray &expected)
{
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return a == actual.end() && e == expected.end() ? -1 : a - actual.begin();
}

// Every file and folder under the program folder with its time of change and its bytes.
QStringList folderState(const QString &home)
{
    QStringList state;
    QDirIterator entries(home, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        QFile file(entry.filePath());
        const QByteArray bytes = entry.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        state << entry.filePath() + u'|' + entry.lastModified().toString(Qt::ISODateWithMs) + u'|'
                     + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    }
    state.sort();
    return state;
}

// The program headless in the test's folder, its port the given device; killed at the end if still running.
struct Executable : UiTest
{
    ~Executable() override
    {
        station.kill();
        station.waitForFinished(5000);
    }
    void start(const char *portVariable, const QString &port) { launch(station, folder.path(), portVariable, port); }
    // asUser: setpriv's options that make the program another user's.
    static void launch(QProcess &process, const QString &home, const char *portVariable, const QString &port,
                       const QStringList &asUser = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NUVAX_HOME", home);
        env.insert(portVariable, port);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (asUser.isEmpty())
            process.start(QStringLiteral(NUVAX_EXECUTABLE), {});
        else
            process.start(QStringLiteral("setpriv"), asUser + QStringList{QStringLiteral(NUVAX_EXECUTABLE)});
    }
    // As the user, on port COM1; the files it makes its group may write, as an installation's operators do.
    void launchAs(QProcess &process, int user, const QString &port)
    {
        process.setChildProcessModifier([] { ::umask(002); });
        launch(process, folder.path(), "NUVAX_COM1", port,
               user == kSelf ? QStringList()
                             : QStringList{QStringLiteral("--reuid=%1").arg(user), QStringLiteral("--regid=%1").arg(user),
                                           user == kNobody ? QStringLiteral("--clear-groups")
                                                           : QStringLiteral("--groups=%1").arg(kOperators)});
    }
    // A task for the units from first to last, due in the minute the station starts in.
    static void saveTaskDueNow(const QString &beschreibung, int first, int last)
    {
        if (QTime::currentTime().second() > 45)
            QThread::msleep((61 - QTime::currentTime().second()) * 1000);
        TaskRecord &task = tasks().at(1);
        task.belegt = task.aktiv = true;
        task.beschreibung = beschreibung;
        task.taskId = QStringLiteral("ABCDEFGHIJKLMNOPQRST");
        task.uhrzeit = QDateTime(QDate(2000, 1, 1), QTime(QTime::currentTime().hour(), QTime::currentTime().minute()));
        task.wochentage.fill(true);
        task.monate.fill(true);
        std::fill(task.adressen.begin() + first, task.adressen.begin() + last + 1, true);
        ASSERT_TRUE(saveTasks(false));
        tasks().clear();
    }
    QProcess station;
};

TEST_F(Executable, HandshakeAutomaticMessageAndOrderlyEndOnSigterm)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    folder.write("Units.dat", unitsFile(false));
    folder.write("Formulare.dat", boardsFile(QStringLiteral("2013-01-31 00:00:00")));
    folder.write("Nuvax.ini", iniFile("10810", "007", "-1"));

    start("NUVAX_COM1", bus.path());
    ASSERT_TRUE(station.waitForStarted(10000)) << qPrintable(station.errorString());

    // Cable mode: the greeting goes out as soon as the port is open.
    ASSERT_TRUE(waitUntil([&] { return !bus.wire().isEmpty(); }, 15000)) << station.readAll().toStdString();
    EXPECT_TRUE(waitUntil([&] { return bus.unreadByStation() == 0; }, 5000));
    EXPECT_EQ(bus.wire(), QStringLiteral("K2Connect@"));
    // The end of the handshake empties the buffer: the unit speaks only after it.
    QThread::msleep(300);

    // Contacts 1 and 3 of unit 042 tripped; the line end is no part of the message.
    const QDateTime sent = QDateTime::currentDateTime().addMSecs(-1000);
    bus.send(QStringLiteral("042.A0403019!-!e12x\r\n"), 0, true);
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(folder.file("logs/Allgemein.log")).size() > 0; }, 10000));
    const QDateTime logged = QDateTime::currentDateTime();

    // The port's lock file goes with the orderly end, so a station of another user can take the port.
    EXPECT_EQ(lockHolder(portLockFile(bus.path())).pid, station.processId());
    ::kill(pid_t(station.processId()), SIGTERM);
    ASSERT_TRUE(station.waitForFinished(15000));
    EXPECT_EQ(std::pair(station.exitStatus(), station.exitCode()), std::pair(QProcess::NormalExit, 0))
        << station.readAll().toStdString();
    EXPECT_EQ(bus.wire(), QStringLiteral("K2Connect@")) << "nothing else was due";
    EXPECT_FALSE(QFile::exists(portLockFile(bus.path())));

    // Every failure box of the station's files comes with a general-log entry: none stood open.
    const QByteArray log = folder.read("logs/Allgemein.log");
    const QString stampText = QString::fromLatin1(log.mid(1, 19));
    const QDateTime stamp = QDateTime::fromString(stampText, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    EXPECT_TRUE(stamp >= sent && stamp <= logged) << stampText.toStdString();
    EXPECT_EQ(log, codepage::encode(QStringLiteral("[") + stampText
                       + QStringLiteral("] Automatische Statusmeldung erhalten\r\n"
                         "Geräteadresse: 042\r\nGerätetyp: QOR-TD\r\nGerätebeschreibung: Flur Süd\r\n"
                         "Kontakt 1: FEHLER\r\nKontakt 1 (Beschreibung): Tür 1<CR><LF>[01.01.2020 00:00:00] Tür 2\r\n"
                         "Kontakt 3: FEHLER\r\nKontakt 3 (Beschreibung): Brandmeldezentrale\r\n"
                         "\r\n\r\n\r\n")));

    EXPECT_EQ(departsAt(folder.read("Units.dat"), unitsFile(true)), -1);
    EXPECT_EQ(folder.read("Formulare.dat"), boardsFile(QStringLiteral("2013-01-31")));
    EXPECT_EQ(folder.read("Nuvax.ini"), iniFile("10815", "7", "True"));
    EXPECT_TRUE(QFileInfo::exists(folder.file("Tasks.dat")) && folder.read("Tasks.dat").isEmpty());
}

// Nobody at the screen, "Units.dat" cut, "Nuvax.ini" a folder, a task for 999 units under way: the start
// goes on without an OK; SIGTERM ends the task before its next frame and the program at once, every save run.
TEST_F(Executable, UnattendedStartAndSigtermDuringALongTaskWithAnUnwritableIni)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    saveTaskDueNow(QStringLiteral("Alle aus"), 0, 999);
    const QByteArray cut = unitsFile(false).left(100 * 2300);
    folder.write("Units.dat", cut);
    folder.write("Formulare.dat", boardsFile(QStringLiteral("2013-01-31")));
    QDir().mkpath(folder.file("Nuvax.ini"));

    // Without its ini file the station takes port COM2 in converter mode.
    start("NUVAX_COM2", bus.path());
    ASSERT_TRUE(waitUntil([&] { return bus.wire().contains(QStringLiteral("\n003C0D")); }, 15000))
        << station.readAll().toStdString();
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ::kill(pid_t(station.processId()), SIGTERM);
    ASSERT_TRUE(station.waitForFinished(15000));
    EXPECT_LT(sinceSignal.elapsed(), 3000);
    EXPECT_EQ(std::pair(station.exitStatus(), station.exitCode()), std::pair(QProcess::NormalExit, 0));
    const QString output = QString::fromLocal8Bit(station.readAll());
    EXPECT_TRUE(output.contains(QStringLiteral("] Fehler beim Speichern der Konfiguration für Autoprüfung: \n")))
        << output.toStdString();

    // Whole frames, each twice, in order, and far from the last.
    QString frames;
    for (int n = 1; n <= 999; ++n)
        frames += QStringLiteral("\n%1C0D").arg(n, 3, 10, QLatin1Char('0')).repeated(2);
    const QString wire = bus.wire();
    EXPECT_TRUE(wire.size() % 7 == 0 && wire.size() < 100 * 7 && frames.startsWith(wire)) << wire.toStdString();

    const QString log = codepage::decode(folder.read("logs/Allgemein.log"));
    EXPECT_EQ(QString(log).remove(QRegularExpression(QStringLiteral("^\\[[0-9. :]{19}\\] "),
                                                     QRegularExpression::MultilineOption)),
              QStringLiteral("Fehler beim Speichern der Konfiguration für Autoprüfung: \r\n"
                             "Die Datei 'Units.dat' konnte beim Laden nicht vollständig gelesen werden und "
                             "wurde vor dem Speichern als 'Units.dat.defekt' gesichert\r\n"
                             "Geplanter Task 'Alle aus' wurde abgebrochen, weil das Programm beendet wird!\r\n"
                             "Geplanter Task 'Alle aus' wird gestartet!\r\n"
                             "Fehler beim Laden der Geräteliste: Einlesen hinter Dateiende\r\n"));
    EXPECT_EQ(departsAt(folder.read("Units.dat"), unitsFile(true)), -1);
    EXPECT_EQ(folder.read("Units.dat.defekt"), cut);
    EXPECT_EQ(folder.read("Formulare.dat"), boardsFile(QStringLiteral("2013-01-31")));
}

// Every slot taken by a board, nobody at the screen: the start opens the first board without waiting for an
// OK, the task due runs, SIGTERM ends the program at once and "Formulare.dat" is left as it was.
TEST_F(Executable, AStartWithEveryBoardSlotTakenWaitsForNobody)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    saveTaskDueNow(QStringLiteral("Flur aus"), 42, 42);
    QByteArray boards = boardsFile(QStringLiteral("2013-01-31"));
    for (int n = 3; n <= kMaxFormulare; ++n)
        boards += codepage::encode(QStringLiteral("\"%1;%2;5|\"\r\n\"Geschoß %2\"\r\n\"\"\r\n#09:05:01#\r\n\"P\"\r\n800\r\n600\r\n")
                                       .arg(formatUnitAddress(n)).arg(n));
    folder.write("Formulare.dat", boards);
    start("NUVAX_COM2", bus.path());
    ASSERT_TRUE(waitUntil([&] { return bus.wire() == QStringLiteral("\n042C0D\n042C0D"); }, 15000))
        << bus.wire().toStdString() << station.readAll().toStdString();
    ::kill(pid_t(station.processId()), SIGTERM);
    EXPECT_TRUE(station.waitForFinished(3000) && station.exitStatus() == QProcess::NormalExit && station.exitCode() == 0);
    EXPECT_EQ(departsAt(folder.read("Formulare.dat"), boards), -1);
}

// The operator starts the station again: the second start brings the first one's window up and ends, the folder
// untouched, while the first keeps its port and its tick. After a SIGKILL the next start is the station at once.
TEST_F(Executable, ASecondStartHandsOverWritesNothingAndAKilledStationHoldsNoStart)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    folder.write("Nuvax.ini", iniFile("10810", "007", "-1"));
    start("NUVAX_COM1", bus.path());
    ASSERT_TRUE(waitUntil([&] { return bus.wire() == QStringLiteral("K2Connect@"); }, 15000));

    const QStringList before = folderState(folder.path());
    QProcess again;
    launch(again, folder.path(), "NUVAX_COM1", bus.path());
    ASSERT_TRUE(again.waitForFinished(10000));
    EXPECT_EQ(std::pair(again.exitStatus(), again.exitCode()), std::pair(QProcess::NormalExit, 0));
    EXPECT_EQ(folderState(folder.path()), before);

    // The first still holds the port, and ticks: a running state it did not write is reset at its next tick.
    bus.send(QStringLiteral("042.A0403019!-!e12x\r\n"), 0, true);
    EXPECT_TRUE(waitUntil([&] { return QFileInfo(folder.file("logs/Allgemein.log")).size() > 0; }, 10000));
    folder.write("Nuvax.ini", iniFile("10810", "007", "-1") + "[Pruefung]\r\nIsRunning=True\r\n");
    EXPECT_TRUE(waitUntil([&] { return folder.read("Nuvax.ini").contains("IsRunning=false"); }, 5000));

    ::kill(pid_t(station.processId()), SIGKILL);
    ASSERT_TRUE(station.waitForFinished(5000));
    start("NUVAX_COM1", bus.path());
    EXPECT_TRUE(waitUntil([&] { return bus.wire() == QStringLiteral("K2Connect@").repeated(2); }, 15000));
}

// Started from a terminal that is gone, under nohup: standard error and output a pipe nobody reads any more, a
// hangup ignored. The station runs on and its task goes out in its minute; SIGTERM still ends it in order.
TEST_F(Executable, AClosedOutputAndAHangupUnderNohupLeaveTheStationRunning)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    saveTaskDueNow(QStringLiteral("Flur aus"), 42, 42);
    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    ::close(output[0]);
    station.setChildProcessModifier([fd = output[1]] {
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        ::signal(SIGHUP, SIG_IGN);
    });
    start("NUVAX_COM2", bus.path());
    ::close(output[1]);
    ASSERT_TRUE(waitUntil([&] { return bus.wire() == QStringLiteral("\n042C0D\n042C0D"); }, 15000))
        << bus.wire().toStdString() << station.exitCode();
    ::kill(pid_t(station.processId()), SIGHUP);
    EXPECT_FALSE(station.waitForFinished(2000));
    ::kill(pid_t(station.processId()), SIGTERM);
    EXPECT_TRUE(station.waitForFinished(5000) && station.exitStatus() == QProcess::NormalExit && station.exitCode() == 0);
    EXPECT_FALSE(QFile::exists(portLockFile(bus.path())));
}

// A process of another user, who may not even read the folder, took the name a later start asks the station
// through: the station starts all the same, and a second start still ends, saying why, the first keeping the port.
TEST_F(Executable, AStrangersSocketNameStopsNoStationAndASecondStartStillEnds)
{
    QProcess stranger;
    if (!answerAsNobody(stranger, folder.path()))
        GTEST_SKIP() << "the user nobody could not take the name: needs root, setpriv and socat";
    SimulatedBus bus{SimulatedBus::OnPty{}};
    folder.write("Nuvax.ini", iniFile("10810", "007", "-1"));
    start("NUVAX_COM1", bus.path());
    ASSERT_TRUE(waitUntil([&] { return bus.wire() == QStringLiteral("K2Connect@"); }, 15000));

    QProcess again;
    launch(again, folder.path(), "NUVAX_COM1", bus.path());
    ASSERT_TRUE(again.waitForFinished(10000));
    EXPECT_EQ(std::pair(again.exitStatus(), again.exitCode()), std::pair(QProcess::NormalExit, 0));
    EXPECT_TRUE(QString::fromLocal8Bit(again.readAll())
                    .contains(QStringLiteral("Im Programmordner %1 läuft bereits die Zentrale (Prozess %2), die nicht "
                                             "erreichbar ist;").arg(folder.path()).arg(station.processId())));
    EXPECT_EQ(lockHolder(portLockFile(bus.path())).pid, station.processId());
}

// A mistyped NUVAX_HOME starts no new installation: the start says which folder it missed and ends by itself.
TEST_F(Executable, AProgramFolderThatDoesNotExistIsRefusedAndNothingIsCreated)
{
    const QString missing = folder.path() + "Nuvx/Zentrale";
    SimulatedBus bus{SimulatedBus::OnPty{}};
    launch(station, missing, "NUVAX_COM2", bus.path());
    ASSERT_TRUE(station.waitForFinished(10000));
    EXPECT_EQ(station.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(station.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(station.readAll()).contains("'" + missing + "'"));
    EXPECT_EQ(folderState(folder.path()), QStringList());
    EXPECT_EQ(bus.wire(), "");
}

// A second installation configured for the same port names the first station as the port's holder, once,
// and sends nothing; each gives the port back at its end.
TEST_F(Executable, ASecondInstallationOnThePortNamesTheStationHoldingIt)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    TempAppFolder other;
    for (TempAppFolder *home : {&folder, &other})
        home->write("Nuvax.ini", iniFile("10810", "007", "-1"));
    start("NUVAX_COM1", bus.path());
    ASSERT_TRUE(waitUntil([&] { return bus.wire() == QStringLiteral("K2Connect@"); }, 15000));

    QProcess second;
    launch(second, other.path(), "NUVAX_COM1", bus.path());
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(other.file("logs/Allgemein.log")).size() > 0; }, 15000));
    QThread::msleep(1000);
    const qint64 holder = station.processId();
    // The first ends as at the logout of the terminal it was started from.
    for (auto [end, signo] : {std::pair(&second, SIGTERM), std::pair(&station, SIGHUP)}) {
        ::kill(pid_t(end->processId()), signo);
        EXPECT_TRUE(end->waitForFinished(15000) && end->exitCode() == 0);
    }
    const QString log = codepage::decode(other.read("logs/Allgemein.log"));
    EXPECT_EQ(QString(log).remove(QRegularExpression(QStringLiteral("^\\[[0-9. :]{19}\\] "),
                                                     QRegularExpression::MultilineOption)),
              QStringLiteral("Die Schnittstelle COM1 wird bereits von Prozess %1 verwendet.\r\n").arg(holder));
    EXPECT_EQ(bus.wire(), QStringLiteral("K2Connect@"));
    EXPECT_FALSE(QFile::exists(portLockFile(bus.path())));
}

// Starts at the same moment make one station per folder; a station in another folder runs beside it.
TEST_F(Executable, StartsAtOnceMakeOneStationPerFolder)
{
    SimulatedBus bus{SimulatedBus::OnPty{}};
    SimulatedBus otherBus{SimulatedBus::OnPty{}};
    TempAppFolder other;
    for (TempAppFolder *home : {&folder, &other})
        home->write("Nuvax.ini", iniFile("10810", "007", "-1"));

    std::array<QProcess, 4> starts;
    for (int i = 0; i < 3; ++i)
        launch(starts[i], folder.path(), "NUVAX_COM1", bus.path());
    launch(starts[3], other.path(), "NUVAX_COM1", otherBus.path());
    const auto ended = [&] {
        return std::count_if(starts.begin(), starts.begin() + 3,
                             [](const QProcess &p) { return p.state() == QProcess::NotRunning; });
    };
    EXPECT_TRUE(waitUntil([&] { return ended() == 2 && bus.wire() + otherBus.wire() == "K2Connect@K2Connect@"; },
                          15000));
    for (const QProcess &start : starts)
        EXPECT_TRUE(start.state() == QProcess::Running
                    || (start.exitStatus() == QProcess::NormalExit && start.exitCode() == 0));
    EXPECT_EQ(starts[3].state(), QProcess::Running);
    for (QProcess &start : starts)
        start.kill(), start.waitForFinished(5000);
}

// Years of use left a general log of 26 MB when the mains fail: 250 units report twice, back to back at
// 9600 baud. Every message gets its entry under its own unit's address, all within 5 s of the last
// character, and the older entries stay behind them byte for byte.
TEST_F(Executable, AMainsFailureOnALongLogLeavesEveryMessageInTheLogAtOnce)
{
    constexpr int kUnits = 250;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    folder.write("Nuvax.ini", iniFile("10810", "007", "-1"));
    const QByteArray entry = "[07.03.2011 09:05:03] Geplanter Task 'Flurlicht aus' wurde ausgef\xFChrt! Ger\xE4t 042 "
                             "ohne Antwort.\r\n";
    const QByteArray older = entry.repeated(26 * 1024 * 1024 / entry.size());
    folder.write("logs/Allgemein.log", older);
    start("NUVAX_COM1", bus.path());
    ASSERT_TRUE(waitUntil([&] { return !bus.wire().isEmpty() && bus.unreadByStation() == 0; }, 15000));
    QThread::msleep(300);  // the handshake's end empties the buffer

    QStringList messages;
    for (int round = 0; round < 2; ++round)
        for (int adr = 1; adr <= kUnits; ++adr)
            messages.append(withAt(withAt(sampleMessage(kType0403, formatUnitAddress(adr)), 4, ".A"), 13 + round, "!"));
    bus.burst(messages, QList<int>(messages.size(), 0));
    ASSERT_TRUE(waitUntil([&] { return bus.burstLeft() == 0 && bus.unreadByStation() == 0; }, 30000));
    const auto entries = [&] {
        const QByteArray log = folder.read("logs/Allgemein.log");
        return codepage::decode(log.left(log.size() - older.size()));
    };
    EXPECT_TRUE(waitUntil([&] { return entries().count("Automatische Statusmeldung erhalten") == messages.size(); }, 5000))
        << entries().count("Automatische Statusmeldung erhalten");

    QMap<QString, int> perAddress;
    const QRegularExpression address(QStringLiteral("Geräteadresse: (.*)\r\n"));
    for (auto match = address.globalMatch(entries()); match.hasNext();)
        ++perAddress[match.next().captured(1)];
    QMap<QString, int> expected;
    for (int adr = 1; adr <= kUnits; ++adr)
        expected[formatUnitAddress(adr)] = 2;
    EXPECT_EQ(perAddress, expected);
    EXPECT_TRUE(folder.read("logs/Allgemein.log").endsWith(older));
    ::kill(pid_t(station.processId()), SIGTERM);
    ASSERT_TRUE(station.waitForFinished(15000));
    EXPECT_EQ(station.exitCode(), 0);
}

// What stands at Nuvax.lock before the first start. An old file: 0644, of the user who starts last.
enum class InPlace { Nothing, OldFile, Fifo, LinkOut, Directory };

struct GuardSituation
{
    const char *name;
    mode_t folderMode;
    InPlace inPlace;
    bool stranger;             // nobody read-locks and answers, from after the first start that ends
    std::array<int, 3> starts; // runs the station once (0: nobody), then runs the station, then starts again
    const char *againSays;     // after "… läuft bereits die Zentrale (Prozess n)"; nullptr: handed over
    const char *stationSays;   // after the lock file's path, on standard error and in the general log
    int rightsAfter;           // Nuvax.lock's; -1: what stands there stays
};

const GuardSituation kGuardSituations[] = {
    {"ReadLocksAndAStrangersAnswers", 0755, InPlace::OldFile, true, {kSelf, kSelf, kSelf},
     ", die nicht erreichbar ist", nullptr, 0600},
    {"GroupFolderBAfterA", 02775, InPlace::Nothing, false, {kOperatorA, kOperatorB, kOperatorA},
     " unter einem anderen Benutzer", nullptr, 0660},
    {"GroupFolderAAfterB", 02775, InPlace::Nothing, false, {kOperatorB, kOperatorA, kOperatorB},
     " unter einem anderen Benutzer", nullptr, 0660},
    {"GroupFolderWithAnOldFileOfA", 02775, InPlace::OldFile, false, {0, kOperatorB, kOperatorA},
     " unter einem anderen Benutzer", " kann nicht zum Schreiben geöffnet werden", 0660},
    {"FolderForEverybody", 0777, InPlace::Nothing, false, {kSelf, kNobody, kSelf}, " unter einem anderen Benutzer",
     nullptr, 0666},
    {"Fifo", 0755, InPlace::Fifo, false, {0, kSelf, kSelf}, nullptr, " ist eine benannte Pipe (FIFO)", -1},
    {"LinkOutOfTheFolder", 0755, InPlace::LinkOut, false, {0, kSelf, kSelf}, nullptr, " ist ein symbolischer Verweis",
     -1},
    {"Directory", 0755, InPlace::Directory, false, {0, kSelf, kSelf}, nullptr, " ist ein Verzeichnis", -1},
};

void PrintTo(const GuardSituation &situation, std::ostream *out) { *out << situation.name; }

struct GuardTable : Executable, testing::WithParamInterface<GuardSituation>
{
};

// One station per folder among everybody who may write it, whatever another user does and whatever stands at
// Nuvax.lock: the station opens the port, a later start ends by itself, and the station keeps the port.
TEST_P(GuardTable, OneStationAmongEverybodyWhoMayWriteTheFolder)
{
    const GuardSituation &s = GetParam();
    const bool others = s.stranger || std::ranges::any_of(s.starts, [](int user) { return user > 0; });
    if (others && (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()))
        GTEST_SKIP() << "acting as other users needs root and setpriv";
    SimulatedBus bus{SimulatedBus::OnPty{}};
    folder.write("Nuvax.ini", iniFile("10810", "007", "-1"));
    const QByteArray home = QFile::encodeName(folder.path());
    const QByteArray lock = QFile::encodeName(folder.file("Nuvax.lock"));
    const QTemporaryDir outside;
    const QString linkTarget = outside.filePath(QStringLiteral("made"));
    if (others) {
        // Everybody who may write the folder may use its files and the port. A port lock file that an ended
        // process of root left for this terminal's number is not theirs to remove.
        QFile::remove(portLockFile(bus.path()));
        ASSERT_EQ(::chown(home, 0, kOperators), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder.file("Nuvax.ini")), 0666) + ::chmod(QFile::encodeName(bus.path()), 0666), 0);
    }
    ASSERT_EQ(::chmod(home, s.folderMode), 0);
    switch (s.inPlace) {
    case InPlace::OldFile:
        folder.write("Nuvax.lock", {});
        ASSERT_EQ(::chmod(lock, 0644), 0);
        if (others) {
            ASSERT_EQ(::chown(lock, uid_t(std::max(s.starts[2], 0)), kOperators), 0);
        }
        break;
    case InPlace::Fifo: ASSERT_EQ(::mkfifo(lock, 0644), 0); break;
    case InPlace::LinkOut: ASSERT_TRUE(QFile::link(linkTarget, folder.file("Nuvax.lock"))); break;
    case InPlace::Directory: ASSERT_TRUE(QDir().mkdir(folder.file("Nuvax.lock"))); break;
    case InPlace::Nothing: break;
    }

    const auto portOpened = [&](int times) {
        return waitUntil([&] { return bus.wire() == QStringLiteral("K2Connect@").repeated(times); }, 15000);
    };
    int opened = 0;
    if (s.starts[0] != 0) {
        QProcess once;
        launchAs(once, s.starts[0], bus.path());
        ASSERT_TRUE(portOpened(++opened)) << once.readAll().toStdString();
        ::kill(pid_t(once.processId()), SIGTERM);
        ASSERT_TRUE(once.waitForFinished(15000));
    }
    QProcess stranger, reader;
    if (s.stranger && !(readLockAsNobody(reader, folder.path()) && answerAsNobody(stranger, folder.path())))
        GTEST_SKIP() << "the user nobody could not lock a file or take the name: needs perl and socat";
    launchAs(station, s.starts[1], bus.path());
    ASSERT_TRUE(portOpened(++opened)) << station.readAll().toStdString();

    QProcess again;
    launchAs(again, s.starts[2], bus.path());
    ASSERT_TRUE(again.waitForFinished(20000));
    EXPECT_EQ(std::pair(again.exitStatus(), again.exitCode()), std::pair(QProcess::NormalExit, 0));
    const QString againSaid = QString::fromLocal8Bit(again.readAll());
    const QString running = QStringLiteral("Im Programmordner %1 läuft bereits die Zentrale (Prozess %2)")
                                .arg(folder.path()).arg(station.processId());
    EXPECT_TRUE(s.againSays ? againSaid.contains(running + QString::fromUtf8(s.againSays))
                            : !againSaid.contains(QStringLiteral("Im Programmordner")))
        << againSaid.toStdString();
    EXPECT_EQ(lockHolder(portLockFile(bus.path())).pid, station.processId());
    EXPECT_EQ(bus.wire(), QStringLiteral("K2Connect@").repeated(opened));

    ::kill(pid_t(station.processId()), SIGTERM);
    ASSERT_TRUE(station.waitForFinished(15000));
    const QString stationSaid = QString::fromLocal8Bit(station.readAll());
    const QString log = codepage::decode(folder.read("logs/Allgemein.log"));
    for (const QString &said : {stationSaid, log})
        EXPECT_EQ(said.contains(folder.file("Nuvax.lock") + QString::fromUtf8(s.stationSays ? s.stationSays : "")),
                  s.stationSays != nullptr)
            << said.toStdString();
    struct stat after{};
    ASSERT_EQ(::lstat(lock, &after), 0);
    EXPECT_EQ(s.rightsAfter < 0 ? !S_ISREG(after.st_mode) : int(after.st_mode & 07777) == s.rightsAfter, true)
        << std::oct << after.st_mode;
    EXPECT_FALSE(QFileInfo::exists(linkTarget));
}

INSTANTIATE_TEST_SUITE_P(Situations, GuardTable, testing::ValuesIn(kGuardSituations),
                         [](const testing::TestParamInfo<GuardSituation> &info) { return info.param.name; });

} // namespace
