// The real serial port against units behind a pseudo-terminal, on the wall clock.
#include "support/qtprint.h"

#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/autotest/autotestpoll.h"
#include "device/autotest/autoteststate.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/messages/statusrequest.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
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
    for (int addr = 1; addr <= 5; ++addr) {
        addUnit(addr, sampleMessage(kType0203, formatUnitAddress(addr)).left(12));
        bus.addUnit(addr, kType0203).replyDelayMs = 300;
    }
    QString answer, reason;
    ASSERT_TRUE(link.openComPort(7));
    EXPECT_EQ(view.connectionCaption, "n/a");
    EXPECT_EQ(requestStatus(1, answer), 13);
    EXPECT_EQ(bus.baud(), 300);
    settings().comMode = kModeCable;
    ASSERT_TRUE(link.openComPort(7));
    EXPECT_EQ(view.connectionCaption, "Bereit");
    EXPECT_EQ(bus.baud(), 9600);
    EXPECT_EQ(requestStatus(1, answer, "00", &reason), 13);
    EXPECT_EQ(std::pair(reason, answer), std::pair(QString("kein Fehler"), sampleMessage(kType0203)));
    EXPECT_EQ(bus.wire(), "\n001S00K2Connect@\n001S00");

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

    EXPECT_FALSE(settings().portOk);
    EXPECT_EQ(units().at(2).state, kStateOk);
    const QString log = QString::fromLatin1(folder.read("logs/AutoTest_2011_03_07.log"));
    for (int addr = 3; addr <= 5; ++addr) {
        EXPECT_EQ(units().at(addr).state, kStateFault) << addr;
        EXPECT_TRUE(log.contains(QStringLiteral("Adresse %1\r\n").arg(formatUnitAddress(addr)))) << addr;
    }
    EXPECT_EQ(log.count("FEHLER: Keine oder fehlerhafte Antwort"), 3);

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

} // namespace
