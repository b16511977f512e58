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

namespace {

qint64 threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

TEST(SerialPort, EachModeAtItsRateThenTheAdapterPulledOutDuringAPollAndPluggedInAgain)
{
    TempAppFolder folder;
    RecordingView view;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    SerialLink &link = serialLink();
    settings() = StationSettings{};
    units().clear();
    // A USB adapter keeps its device name when it is plugged in again.
    const QString device = folder.file("ttyNuvaxAdapter");
    ASSERT_TRUE(QFile::link(bus.path(), device));
    qputenv("NUVAX_COM7", device.toLocal8Bit());
    settings().comPort = 6; // COM7
    for (int addr = 1; addr <= 5; ++addr) {
        addUnit(addr, sampleMessage(kType0203, formatUnitAddress(addr)).left(12));
        units().at(addr).state = kStateFault;
        units().at(addr).errorText = fixedWidth("\tvorher\r\n", kErrorTextWidth);
        bus.addUnit(addr, kType0203).replyDelayMs = 300;
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
    autoTestRun() = AutoTestRun{};
    autoTestRun().autoTestLogDatei = "AutoTest_2011_03_07.log";
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
    const QString log = codepage::decode(folder.read("logs/AutoTest_2011_03_07.log"));
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
    units().clear();
}

// One unit sends its own message every 1.5 s at 300 baud through a poll in which one unit is silent and
// one answers only its second request. Each unanswered request ends at its time-out, so the poll is done
// long before the unit falls silent; every message is logged and shown, and the late unit is OK.
TEST(SerialPort, AUnitThatKeepsTalkingHoldsNoPoll)
{
    TempAppFolder folder;
    RecordingView view;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    settings() = StationSettings{};
    units().clear();
    qputenv("NUVAX_COM1", bus.path().toLocal8Bit());
    for (int addr : {1, 2})
        addUnit(addr, sampleMessage(kType0203, formatUnitAddress(addr)).left(12));
    bus.addUnit(1, kType0203).silent = true;
    bus.addUnit(2, kType0203).answerAtTry = 2;
    installAutoMessageCheck();
    ASSERT_TRUE(serialLink().openComPort(1));
    autoTestRun() = AutoTestRun{};
    autoTestRun().autoTestLogDatei = "AutoTest_2011_03_07.log";

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
    const QString testLog = codepage::decode(folder.read("logs/AutoTest_2011_03_07.log"));
    EXPECT_TRUE(testLog.contains("Adresse 001\r\n") && testLog.contains("Autoprüfung beendet am: "));

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
    qunsetenv("NUVAX_COM1");
    units().clear();
}

} // namespace
