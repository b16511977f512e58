#include "support/qtprint.h"

#include "core/station/stationsettings.h"
#include "device/link/comsettings.h"
#include "device/link/seriallink.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <gtest/gtest.h>

namespace {

class ComSettings : public ::testing::Test
{
protected:
    ComSettings() { settings() = StationSettings{}; }
    ~ComSettings() override
    {
        serialLink().reset();
        settings() = StationSettings{};
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
};

} // namespace

TEST_F(ComSettings, PortAndModeReadings)
{
    const struct { const char *ini; int port; int mode; } cases[] = {
        {"", 1, kModeConverter},
        {"Bluetooth=1", 1, kModeBluetooth},
        {"Bluetooth=1\nComMode=1", 1, kModeCable},
        {"ComMode=4", 1, kModeCable},
        {"ComMode=3", 1, kModeConverter},
        {"Bluetooth=1\nComMode=-1", 1, kModeBluetooth},
        {"Port=-2", 1, kModeConverter},
        {"Port=abc", 0, kModeConverter},
        {"Port=9.5", 1, kModeConverter},
    };
    for (const auto &c : cases) {
        folder.write(QStringLiteral("Nuvax.ini"), QByteArray("[COM]\n") + c.ini);
        loadComSettings();
        EXPECT_EQ(std::pair(view.comPortIndex, view.comMode), std::pair(c.port, c.mode)) << c.ini;
        EXPECT_EQ(std::pair(settings().comPort, settings().comMode), std::pair(c.port, c.mode)) << c.ini;
    }
    // Every load opened the port in its mode and put up the caption.
    EXPECT_EQ(bus.baud(), 300);
    EXPECT_TRUE(settings().portOk);
    EXPECT_EQ(view.instanznameShows, int(std::size(cases)));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ComSettings, SavingWritesTheSelectionAndReopensThePort)
{
    settings().comPort = 4;
    settings().comMode = kModeCable;
    saveComSettings();
    EXPECT_EQ(folder.read(QStringLiteral("Nuvax.ini")), QByteArray("[COM]\r\nPort=4\r\nComMode=1\r\n"));
    EXPECT_EQ(bus.baud(), 9600);
    EXPECT_EQ(view.instanznameShows, 0);

    bus.failOpen(QStringLiteral("Permission denied"));
    loadComSettings();
    EXPECT_FALSE(settings().portOk);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.at(0).title, QStringLiteral("COM"));
    EXPECT_EQ(view.page, 5);
    EXPECT_EQ(view.instanznameShows, 1);
}
