#include "support/qtprint.h"

#include "core/stationsettings.h"
#include "device/devicetypes.h"
#include "device/seriallink.h"
#include "device/statusrequest.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

// The real serial port of the station against units behind a pseudo-terminal,
// on the wall clock.
namespace {

constexpr int kPort = 7;

class SerialPtyTest : public ::testing::Test
{
protected:
    SerialPtyTest()
    {
        settings() = StationSettings{};
        qputenv("NUVAX_COM7", bus.path().toLocal8Bit());
    }
    ~SerialPtyTest() override { qunsetenv("NUVAX_COM7"); }

    TempAppFolder folder;
    RecordingView view;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    SerialLink &link = serialLink();
};

TEST_F(SerialPtyTest, EachModeOpensAtItsRateAndFetchesAStatus)
{
    const QString message = sampleMessage(kType0403, "042");
    bus.addUnit(42, message);
    QString answer;
    QString reason;

    ASSERT_TRUE(link.openComPort(kPort));
    EXPECT_EQ(view.connectionCaption, "n/a");
    EXPECT_EQ(requestStatus(42, answer), 19);
    EXPECT_EQ(bus.baud(), 300);

    settings().comMode = kModeCable;
    ASSERT_TRUE(link.openComPort(kPort));
    EXPECT_EQ(view.connectionCaption, "Bereit");
    EXPECT_EQ(bus.baud(), 9600);
    EXPECT_EQ(requestStatus(42, answer, "00", &reason), 19);
    EXPECT_EQ(reason, "kein Fehler");
    EXPECT_EQ(answer, message);
    EXPECT_EQ(bus.wire(), "\n042S00K2Connect@\n042S00");
}

TEST_F(SerialPtyTest, HungUpLineClosesThePortAndWaitsFailAtOnce)
{
    ASSERT_TRUE(link.openComPort(kPort));
    bus.hangUp();
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link.waitForReceived(12, 3000, 2000), -1);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(settings().portOk);
}

} // namespace
