#include "support/qtprint.h"

#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/scriptedprompts.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <gtest/gtest.h>

namespace {

class SerialLinkTest : public ::testing::Test
{
protected:
    SerialLinkTest() { settings() = StationSettings{}; }

    void open(int mode = kModeConverter)
    {
        settings().comMode = mode;
        ASSERT_TRUE(link.openComPort(1));
        bus.clearWrites();
    }
    qint64 elapsedSince(qint64 start) const { return clock.monotonicMs() - start; }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    ScriptedPrompts prompts;
    SimulatedBus bus{clock, waits};
    SerialLink &link = serialLink();
};

// --- Opening and the adapter handshake --------------------------------------

TEST_F(SerialLinkTest, EachModeOpensAtItsRateWithItsGreeting)
{
    const struct { int mode; int baud; QString greeting; QString caption; ConnectionColor color; } cases[] = {
        {kModeConverter, 300, "", "n/a", ConnectionColor::Neutral},
        {kModeCable, 9600, "K2Connect@", "Bereit", ConnectionColor::Green},
        {kModeBluetooth, 9600, "B3Connect@", "Bereit", ConnectionColor::Green},
    };
    for (const auto &c : cases) {
        settings().comMode = c.mode;
        bus.clearWrites();
        view.connectionHistory.clear();
        EXPECT_TRUE(link.openComPort(3));
        EXPECT_EQ(bus.baud(), c.baud);
        EXPECT_EQ(bus.wire(), c.greeting);
        EXPECT_EQ(view.connectionHistory, QStringList({"Verbinde ...", c.caption}));
        EXPECT_EQ(view.connectionColor, c.color);
        EXPECT_EQ(link.received(), QString()) << "the adapter's answer is cleared away";
    }
}

TEST_F(SerialLinkTest, HandshakeAcceptsConnectAtCharacters3To9Only)
{
    const struct { const char *reply; int result; } cases[] = {
        {"xyConnect!", 0},
        {"Connect@xy", -1},  // "Connect" at the first character
        {"K2Connec", -1},    // falls silent after 8 characters
        {"", -1},            // no answer at all
    };
    open(kModeCable);
    for (const auto &c : cases) {
        bus.setAdapterReply(c.reply);
        EXPECT_EQ(link.connectAdapter(kModeCable), c.result) << c.reply;
        EXPECT_EQ(link.received(), QString()) << c.reply;
    }
    EXPECT_EQ(link.connectAdapter(kModeConverter), -2);
}

TEST_F(SerialLinkTest, PortThatCannotOpenIsReportedAndCanBeOpenedLater)
{
    bus.failOpen("No such file or directory");
    settings().comMode = kModeCable;
    EXPECT_FALSE(link.openComPort(1));
    EXPECT_FALSE(settings().portOk);
    EXPECT_EQ(bus.wire(), QString());
    EXPECT_EQ(view.connectionCaption, "Fehler beim Senden / Keine Antwort");
    EXPECT_EQ(view.connectionColor, ConnectionColor::Red);

    link.showPortOpenError();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Fehler beim Öffnen der Schnittstelle: \r\n'No such file or directory'\r\n"
                                     "Bitte wählen Sie eine andere Konfiguration");
    EXPECT_EQ(prompts.shown[0].title, "COM");
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
    EXPECT_EQ(view.page, 5);

    bus.failOpen({});
    EXPECT_TRUE(link.openComPort(1));
    EXPECT_EQ(view.connectionCaption, "Bereit");
}

// --- Sending ---------------------------------------------------------------

TEST_F(SerialLinkTest, SendWritesTheTextUnchangedAndReportsOnlyAFailedWrite)
{
    EXPECT_FALSE(link.sendCommand("\n001S00")) << "a closed port is no failure of the write";
    open();
    EXPECT_FALSE(link.sendCommand("Grüße"));
    EXPECT_EQ(bus.writes(), QStringList({"Grüße"}));
    ASSERT_EQ(view.terminal.size(), 1);
    EXPECT_EQ(view.terminal[0].text, "Grüße");
    EXPECT_TRUE(view.terminal[0].sent);
    EXPECT_EQ(view.indicator, 1);

    bus.failWrites(true);
    EXPECT_TRUE(link.sendCommand("\n001S00"));
    EXPECT_EQ(view.terminal.size(), 1) << "nothing went out to echo";
}

// --- The receive buffer ----------------------------------------------------

TEST_F(SerialLinkTest, ReceivedTextIsEchoedTakenFromTheFrontAndDroppedWhenStale)
{
    open();
    bus.send("ABCDEFGHIJKLMNOPQRST");
    bus.advance(0);
    EXPECT_EQ(view.indicator, 2);
    ASSERT_EQ(view.terminal.size(), 1);
    EXPECT_FALSE(view.terminal[0].sent);
    EXPECT_EQ(view.terminal[0].text, "ABCDEFGHIJKLMNOPQRST");
    QString out;
    EXPECT_EQ(link.takeReceived(12, out), 12);
    EXPECT_EQ(out, "ABCDEFGHIJKL");
    EXPECT_EQ(link.takeReceived(9, out), 8);
    EXPECT_EQ(out, "MNOPQRST");

    bus.send("old");
    bus.send("new", 2000);
    bus.advance(2000);
    EXPECT_EQ(link.received(), "oldnew") << "2000 ms is not stale yet";
    bus.send("last", 2001);
    bus.advance(2001);
    EXPECT_EQ(link.takeReceived(0, out), 4);
    EXPECT_EQ(out, "last");
    EXPECT_EQ(link.received(), QString());
}

// --- Waiting for characters ------------------------------------------------

TEST_F(SerialLinkTest, WaitEndsAtOnceOnAClosedPortOrAFullBufferElseAfterWholeTimeOutSteps)
{
    EXPECT_EQ(link.waitForReceived(1, 3000, 2000), -1);
    EXPECT_EQ(waits.sleptMs(), 0);

    open();
    for (auto [timeout, expected] : {std::pair{3000, 3000}, {2000, 2000}, {2100, 2000}}) {
        const qint64 start = clock.monotonicMs();
        EXPECT_EQ(link.waitForReceived(12, timeout, 500), -1);
        EXPECT_EQ(elapsedSince(start), expected);
    }

    bus.send("0123456789AB");
    bus.advance(1);
    const qint64 slept = waits.sleptMs();
    EXPECT_EQ(link.waitForReceived(12, 3000, 2000), 0);
    EXPECT_EQ(waits.sleptMs(), slept);
}

TEST_F(SerialLinkTest, OnceCharactersComeTheWaitLastsUntilTheyStopForLongerThanTheIdleLimit)
{
    open();
    qint64 start = clock.monotonicMs();
    bus.send(QString(150, u'x'), 2900, true); // 5 s at 300 baud
    EXPECT_EQ(link.waitForReceived(150, 3000, 2000), 0);
    EXPECT_LE(elapsedSince(start), 2900 + 5000 + 1) << "ends with the last character, not at a later slice";

    link.clearReceived();
    bus.send("01234", 100, true);
    start = clock.monotonicMs() + 100 + 5 * 33; // the last of the five characters
    EXPECT_EQ(link.waitForReceived(12, 3000, 2000), -1);
    EXPECT_NEAR(elapsedSince(start), 2001, 2);
}

// --- Waiting for a quiet line ----------------------------------------------

TEST_F(SerialLinkTest, QuietLineWaitEndsJustAfterTheLimitOrAfterTwentySeconds)
{
    open();
    link.waitLineIdle(500);
    EXPECT_EQ(waits.sleptMs(), 0) << "nothing received yet in this run";

    bus.send("abc");
    bus.advance(0);
    const qint64 lastChar = clock.monotonicMs();
    bus.send("d", 300);
    link.waitLineIdle(500);
    EXPECT_EQ(elapsedSince(lastChar), 300 + 501);

    bus.send(QString(1000, u'x'), 0, true); // 33 s at 300 baud
    bus.advance(34);
    const qint64 start = clock.monotonicMs();
    link.waitLineIdle(500);
    EXPECT_NEAR(elapsedSince(start), 20000, 40);
}

// --- Who may use the bus ---------------------------------------------------

TEST(BusClaimTest, OwnersExcludeEachOtherAndExchangesRunOneAtATime)
{
    resetBusClaims();
    {
        BusClaim test(BusUser::Background);
        EXPECT_TRUE(BusClaim(BusUser::Background).granted()) << "a test's poll runs inside the test";
        EXPECT_FALSE(BusClaim(BusUser::Foreground).granted());
        EXPECT_EQ(busBusyReason(),
                  "Schnittstelle belegt: eine automatische Prüfung oder ein Timer fragt gerade die Geräte ab");
        BusTransaction poll;
        EXPECT_TRUE(poll.granted());
        EXPECT_FALSE(BusTransaction().granted());
    }
    {
        BusClaim status(BusUser::Foreground);
        EXPECT_FALSE(BusClaim(BusUser::Foreground).granted());
        EXPECT_FALSE(BusClaim(BusUser::Background).granted());
    }
    {
        BusTransaction unowned;
        EXPECT_EQ(busOwner(), BusUser::Foreground) << "the tick must wait for it too";
        EXPECT_FALSE(BusClaim(BusUser::Background).granted());
        EXPECT_EQ(busBusyReason(), "Schnittstelle belegt: eine andere Abfrage läuft gerade");
    }
    EXPECT_EQ(busOwner(), BusUser::None);
}

} // namespace
