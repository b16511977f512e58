// The real serial port against units behind a pseudo-terminal, on the wall clock.
#include "support/busfixture.h"

#include "core/registry/unitaddress.h"
#include "device/autotest/autotestpoll.h"
#include "device/messages/automessages.h"
#include "device/messages/statusrequest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <ctime>
#include <functional>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// Another program on the station's device (a terminal program, a modem manager) reads whatever comes.
std::jthread readElsewhere(int fd)
{
    return std::jthread([fd](std::stop_token stop) {
        char bytes[256];
        for (pollfd ready{fd, POLLIN, 0}; !stop.stop_requested();)
            if (::poll(&ready, 1, 50) > 0 && ::read(fd, bytes, sizeof bytes) <= 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
}

// Lets events run, doing each every 50 ms, until done or ms have passed.
bool runUntil(const std::function<bool()> &done, int ms, const std::function<void()> &each = [] {})
{
    QElapsedTimer running;
    running.start();
    for (QEventLoop slice; !done() && running.elapsed() < ms; slice.exec())
        each(), QTimer::singleShot(50, &slice, &QEventLoop::quit);
    return done();
}

qint64 threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// The link and units on a pseudo-terminal, port 1 leading to it, in a fresh program folder.
class SerialPort : public ::testing::Test
{
protected:
    SerialPort()
    {
        settings() = StationSettings{};
        units().clear();
        qputenv("NUVAX_COM1", bus.path().toLocal8Bit());
        installAutoMessageCheck();
        autoTestRun() = AutoTestRun{};
        autoTestRun().autoTestLogDatei = "AutoTest_2011_03_07.log";
    }
    ~SerialPort() override
    {
        qunsetenv("NUVAX_COM1");
        units().clear();
    }
    // A unit of type 0203 on the bus and in the registry.
    SimUnit &unit(int addr)
    {
        addUnit(addr, sampleMessage(kType0203, formatUnitAddress(addr)).left(12));
        return bus.addUnit(addr, kType0203);
    }
    QString testLog() const { return codepage::decode(folder.read("logs/AutoTest_2011_03_07.log")); }

    TempAppFolder folder;
    RecordingView view;
    SimulatedBus bus{SimulatedBus::OnPty{}};
};

TEST_F(SerialPort, EachModeAtItsRateThenTheAdapterPulledOutDuringAPollAndPluggedInAgain)
{
    SerialLink &link = serialLink();
    // A USB adapter keeps its device name when it is plugged in again.
    const QString device = folder.file("ttyNuvaxAdapter");
    ASSERT_TRUE(QFile::link(bus.path(), device));
    qputenv("NUVAX_COM7", device.toLocal8Bit());
    settings().comPort = 6; // COM7
    for (int addr = 1; addr <= 5; ++addr) {
        unit(addr).replyDelayMs = 300;
        units().at(addr).state = kStateFault;
        units().at(addr).errorText = fixedWidth("\tvorher\r\n", kErrorTextWidth);
    }
    QString answer, reason;
    ASSERT_TRUE(link.openComPort(7));
    EXPECT_EQ(requestStatus(1, answer), 13);
    EXPECT_EQ(std::pair(view.connectionCaption, bus.baud()), std::pair(QString("n/a"), 300));
    settings().comMode = kModeCable;
    ASSERT_TRUE(link.openComPort(7));
    EXPECT_EQ(requestStatus(1, answer, "00", &reason), 13);
    EXPECT_EQ(std::tuple(view.connectionCaption, bus.baud(), reason, answer, bus.wire()),
              std::tuple("Bereit", 9600, "kein Fehler", sampleMessage(kType0203), "\n001S00K2Connect@\n001S00"));

    // Pulled out while unit 3 is being asked.
    QElapsedTimer sincePulled;
    qint64 cpuAtPull = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!sincePulled.isValid() && bus.wire().contains("\n003S00")) {
            bus.hangUp();
            sincePulled.start();
            cpuAtPull = threadCpuMs();
        }
    });
    watch.start(5);
    frageGeraeteAbPruefung();
    watch.stop();
    ASSERT_TRUE(sincePulled.isValid());
    QEventLoop idle;
    QTimer::singleShot(2000, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_LT(threadCpuMs() - cpuAtPull, sincePulled.elapsed() / 4) << "the station spins on the lost line";
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(link.waitForReceived(12, 3000, 2000), -1);
    EXPECT_LT(waited.elapsed(), 1000) << "a wait on the lost line fails at once";

    // Unit 2 was asked; 3, whose question was cut, and those after it keep what they had, and the
    // loss is told once, naming the port.
    EXPECT_FALSE(settings().portOk);
    QString states;
    for (int addr = 2; addr <= 5; ++addr)
        states += QString::number(units().at(addr).state);
    EXPECT_EQ(states, QString("%1%2%2%2").arg(kStateOk).arg(kStateFault));
    EXPECT_EQ(units().at(3).errorText, fixedWidth("\tvorher\r\n", kErrorTextWidth));
    const QString log = testLog();
    EXPECT_TRUE(log.contains("Adresse 002\r\n") && !log.contains("FEHLER"));
    EXPECT_TRUE(log.endsWith(", weil die Schnittstelle COM7 nicht mehr geöffnet ist. Die nicht abgefragten Geräte "
                             "behalten ihren bisherigen Zustand.\r\n")) << log.right(200).toStdString();
    const QString general = codepage::decode(folder.read("logs/Allgemein.log"));
    EXPECT_EQ(general.count(QRegularExpression("\\] Die Verbindung zur Schnittstelle COM7 wurde unterbrochen: '(Das Gerät "
                                              "ist nicht mehr erreichbar|Fehler beim Lesen)'. Die Schnittstelle wird "
                                              "jede Minute neu geöffnet, bis sie wieder bereit ist.\r\n")),
              1) << general.toStdString();

    // Plugged in again: the configuration opens the port, and the next poll reaches every unit.
    SimulatedBus pluggedIn{SimulatedBus::OnPty{}};
    for (int addr = 1; addr <= 5; ++addr)
        pluggedIn.addUnit(addr, kType0203);
    ASSERT_TRUE(QFile::remove(device) && QFile::link(pluggedIn.path(), device));
    ASSERT_TRUE(link.openComPort(7));
    frageGeraeteAbPruefung();
    for (int addr = 1; addr <= 5; ++addr)
        EXPECT_EQ(units().at(addr).state, kStateOk) << addr;
    qunsetenv("NUVAX_COM7");
}

// Another program reads on the line, in the line's mode or in its own raw mode, while units report: what it
// takes costs no line. The port stays open and a frame goes out, the other program is told once, and once it
// has gone a unit's message arrives whole. A line that then breaks is still found.
TEST_F(SerialPort, AnotherReaderCostsNoLineAndABreakIsStillFound)
{
    const QString message = withAt(sampleMessage(kType0403, "042"), 4, ".A");
    const auto general = [&] { return codepage::decode(folder.read("logs/Allgemein.log")); };
    for (const bool ownRawMode : {false, true}) {
        SimulatedBus line{SimulatedBus::OnPty{}};
        qputenv("NUVAX_COM1", line.path().toLocal8Bit());
        QFile::remove(folder.file("logs/Allgemein.log"));
        ASSERT_TRUE(serialLink().openComPort(1));
        const int fd = ::open(line.path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios mode{};
        if (ownRawMode && ::tcgetattr(fd, &mode) == 0)
            ::cfmakeraw(&mode), ::tcsetattr(fd, TCSANOW, &mode);
        {
            const std::jthread reader = readElsewhere(fd);
            runUntil([&] { return general().contains("anderes Programm"); }, 15000, [&] { line.send(message); });
            EXPECT_TRUE(serialLink().sendFrame("\n005C0D") && settings().portOk) << ownRawMode;
        }
        ::close(fd);
        // Whatever the other program left of a message is stale once it is gone.
        runUntil([] { return false; }, 2500);
        view.alerts.clear();
        line.send(message, 0, true);
        EXPECT_TRUE(runUntil([&] { return !view.alerts.isEmpty(); }, 5000));
        EXPECT_EQ(view.alerts, alertsOf({message})) << ownRawMode;
        EXPECT_EQ(std::tuple(general().count("anderes Programm"), general().count("unterbrochen"), line.wire()),
                  std::tuple(1, 0, "\n005C0D")) << ownRawMode << general().toStdString();

        line.hangUp();
        EXPECT_TRUE(runUntil([&] { return general().count("unterbrochen") == 1; }, 5000)) << ownRawMode;
        serialLink().reset();
    }
}

// One unit sends its own message every 1.5 s at 300 baud through a poll in which one unit is silent and
// one answers only its second request. Each unanswered request ends at its time-out, so the poll is done
// long before the unit falls silent; every message is logged and shown, and the late unit is OK.
TEST_F(SerialPort, AUnitThatKeepsTalkingHoldsNoPoll)
{
    unit(1).silent = true;
    unit(2).answerAtTry = 2;
    ASSERT_TRUE(serialLink().openComPort(1));

    constexpr int kMessages = 24;
    bus.chatter(withAt(sampleMessage(kType0403, "042"), 4, ".A"), 1500, kMessages, 600);
    QElapsedTimer poll;
    poll.start();
    frageGeraeteAbPruefung();
    const qint64 pollMs = poll.elapsed();
    // Five requests without an answer, each after a quiet line and with a message in progress at its
    // time-out; the answer; the end's broadcasts.
    EXPECT_LT(pollMs, 25000);
    EXPECT_GT(bus.chatterLeft(), 0) << "the poll ended only once the unit fell silent";
    EXPECT_EQ(bus.wire(), QStringLiteral("\n001S00").repeated(3) + QStringLiteral("\n002S00").repeated(2)
                              + QStringLiteral("\nALLp00").repeated(3));
    EXPECT_EQ(std::pair(units().at(1).state, units().at(2).state), std::pair(kStateFault, kStateOk));
    EXPECT_TRUE(testLog().contains("Adresse 001\r\n") && testLog().contains("Autoprüfung beendet am: "));

    QElapsedTimer rest;
    rest.start();
    while ((bus.chatterLeft() > 0 || bus.unreadByStation() > 0) && rest.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QEventLoop quiet;
    QTimer::singleShot(1000, &quiet, &QEventLoop::quit);
    quiet.exec();
    const QString general = codepage::decode(folder.read("logs/Allgemein.log"));
    EXPECT_EQ(std::pair(general.count("Automatische Statusmeldung erhalten"), view.alerts.size()),
              std::pair(qsizetype(kMessages), qsizetype(kMessages)));
}

// Sixty units on the adapter report at once when the mains fail: 2,760 characters back to back or with
// pauses under the quiet line. Each message is logged and shown as it is alone, in order, within a few
// seconds of the last character.
TEST_F(SerialPort, SixtyUnitsReportingAtOnceAreEachLoggedAsAloneAndInTime)
{
    settings().comMode = kModeCable;
    ASSERT_TRUE(serialLink().openComPort(1));

    const QStringList messages = mainsFailureMessages(60);
    bus.burst(messages, mainsFailurePauses(60));
    QElapsedTimer sinceLast;
    while (!sinceLast.isValid() || view.alerts.size() < messages.size()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!sinceLast.isValid() && bus.burstLeft() == 0 && bus.unreadByStation() == 0)
            sinceLast.start();
        ASSERT_LT(sinceLast.isValid() ? sinceLast.elapsed() : 0, 3000) << view.alerts.size();
    }
    EXPECT_EQ(view.alerts, alertsOf(messages));
    QString entries;
    for (const QString &alert : view.alerts)
        entries.prepend("Automatische Statusmeldung erhalten\r\n" + alert + "\r\n\r\n\r\n");
    EXPECT_EQ(codepage::decode(folder.read("logs/Allgemein.log")).remove(QRegularExpression("^\\[[0-9. :]{19}\\] ", QRegularExpression::MultilineOption)),
              entries);
}

// At 300 baud, units begin to report as a function test sends its first request: every message gets its
// entry, every unit's answer is read and the poll ends.
TEST_F(SerialPort, ABurstThatBeginsDuringAPollLosesNoMessageAndThePollEnds)
{
    for (int addr = 1; addr <= 4; ++addr)
        unit(addr);
    ASSERT_TRUE(serialLink().openComPort(1));

    const QStringList messages = mainsFailureMessages(12);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (bus.wire().contains("\n001S00")) {
            watch.stop();
            bus.burst(messages, mainsFailurePauses(12));
        }
    });
    watch.start(5);
    frageGeraeteAbPruefung();
    EXPECT_FALSE(watch.isActive());
    for (int addr = 1; addr <= 4; ++addr)
        EXPECT_EQ(units().at(addr).state, kStateOk) << addr;
    EXPECT_TRUE(testLog().contains("Autoprüfung beendet am: "));

    QElapsedTimer rest;
    rest.start();
    while (view.alerts.size() < messages.size() && rest.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(view.alerts, alertsOf(messages));
}

} // namespace
