#include "support/busfixture.h"

#include "device/link/comsettings.h"
#include "device/messages/messagedescriber.h"
#include "support/recordingview.h"

namespace {

class Link : public BusFixture
{
protected:
    void open()
    {
        ASSERT_TRUE(link.openComPort(1));
        bus.clearWrites();
    }
    qint64 since(qint64 start) const { return clock.monotonicMs() - start; }

    SerialLink &link = serialLink();
};

// Every reading opens the port in its mode: the rate, the adapter's greeting, the connection's caption and colour.
TEST_F(Link, PortAndModeReadingsOpenThePortInItsMode)
{
    const struct { int baud; QString greeting, caption; ConnectionColor color; } byMode[] = {
        {300, "", "n/a", ConnectionColor::Neutral},
        {9600, "K2Connect@", "Bereit", ConnectionColor::Green},
        {9600, "B3Connect@", "Bereit", ConnectionColor::Green},
    };
    const struct { const char *ini; int port, mode; } cases[] = {
        {"", 1, kModeConverter}, {"Bluetooth=1", 1, kModeBluetooth}, {"Bluetooth=1\nComMode=1", 1, kModeCable},
        {"ComMode=4", 1, kModeCable}, {"ComMode=3", 1, kModeConverter}, {"Bluetooth=1\nComMode=-1", 1, kModeBluetooth},
        {"Port=-2", 1, kModeConverter}, {"Port=abc", 0, kModeConverter}, {"Port=9.5", 1, kModeConverter},
    };
    for (const auto &c : cases) {
        folder.write("Nuvax.ini", QByteArray("[COM]\n") + c.ini);
        bus.clearWrites();
        view.connectionHistory.clear();
        loadComSettings();
        const auto &m = byMode[c.mode];
        EXPECT_EQ(std::tuple(view.comPortIndex, view.comMode, settings().comPort, settings().comMode),
                  std::tuple(c.port, c.mode, c.port, c.mode)) << c.ini;
        // The adapter's answer is cleared away.
        EXPECT_EQ(std::tuple(bus.baud(), bus.wire(), view.connectionColor, view.connectionHistory.join('|'), link.received()),
                  std::tuple(m.baud, m.greeting, m.color, "Verbinde ...|" + m.caption, "")) << c.ini;
    }
    EXPECT_TRUE(settings().portOk && prompts.shown.isEmpty());
    EXPECT_EQ(view.instanznameShows, int(std::size(cases)));

    // "Connect" must stand at characters 3 to 9.
    for (auto [reply, result] : {std::pair{"xyConnect!", 0}, {"Connect@xy", -1}, {"K2Connec", -1}, {"", -1}}) {
        bus.setAdapterReply(reply);
        EXPECT_EQ(link.connectAdapter(kModeCable), result) << reply;
        EXPECT_TRUE(link.received().isEmpty()) << reply;
    }
    EXPECT_EQ(link.connectAdapter(kModeConverter), -2);
}

TEST_F(Link, PortThatCannotOpenIsReportedAndCanBeOpenedLater)
{
    bus.failOpen("No such file or directory");
    folder.write("Nuvax.ini", "[COM]\r\nComMode=1\r\n");
    bus.clearWrites();
    loadComSettings();
    EXPECT_EQ(std::tuple(settings().portOk, bus.wire(), view.connectionColor, view.connectionCaption),
              std::tuple(false, "", ConnectionColor::Red, "Fehler beim Senden / Keine Antwort"));
    EXPECT_EQ(std::tuple(box().text, box().title, box().icon, view.page, view.instanznameShows),
              std::tuple("Fehler beim Öffnen der Schnittstelle: \r\n'No such file or directory'\r\n"
                         "Bitte wählen Sie eine andere Konfiguration", "COM", Prompts::Icon::Critical, 5, 1));
    bus.failOpen({});
    EXPECT_TRUE(link.openComPort(1));
    EXPECT_EQ(view.connectionCaption, "Bereit");
}

TEST_F(Link, SentTextGoesOutUnchangedAndReceivedTextIsEchoedTakenFromTheFrontAndDroppedWhenStale)
{
    link.reset();
    EXPECT_FALSE(link.sendCommand("\n001S00")) << "a closed port is no failure of the write";
    open();
    EXPECT_FALSE(link.sendCommand("Grüße"));
    EXPECT_EQ(bus.writes(), QStringList({"Grüße"}));
    ASSERT_EQ(view.terminal.size(), 1);
    EXPECT_EQ(std::tuple(view.terminal[0].text, view.terminal[0].sent, view.indicator), std::tuple("Grüße", true, 1));
    bus.failWrites(true);
    EXPECT_TRUE(link.sendCommand("\n001S00"));
    EXPECT_EQ(std::pair(view.terminal.size(), link.portOpen()), std::pair(qsizetype(1), false))
        << "nothing went out to echo, and a write that fails is a broken line";
    bus.failWrites(false);
    open();

    bus.send("ABCDEFGHIJKLMNOPQRST");
    bus.advance(0);
    ASSERT_EQ(view.terminal.size(), 2);
    EXPECT_EQ(std::tuple(view.terminal[1].text, view.terminal[1].sent, view.indicator),
              std::tuple("ABCDEFGHIJKLMNOPQRST", false, 2));
    QString out;
    EXPECT_EQ(std::pair(link.takeReceived(12, out), out), std::pair(12, QString("ABCDEFGHIJKL")));
    EXPECT_EQ(std::pair(link.takeReceived(9, out), out), std::pair(8, QString("MNOPQRST")));
    bus.send("old");
    bus.send("new", 2000);
    bus.advance(2000);
    EXPECT_EQ(link.received(), "oldnew") << "2000 ms is not stale yet";
    bus.send("last", 2001);
    bus.advance(2001);
    EXPECT_EQ(std::tuple(link.takeReceived(0, out), out, link.received()), std::tuple(4, QString("last"), QString()));
}

TEST_F(Link, WaitsEndOnAClosedPortAFullBufferWholeTimeOutStepsOrTheIdleLimit)
{
    link.reset();
    EXPECT_EQ(std::pair(link.waitForReceived(1, 3000, 2000), waits.sleptMs()), std::pair(-1, qint64(0)));
    open();
    link.waitLineIdle(500);
    EXPECT_EQ(waits.sleptMs(), 0) << "nothing received yet in this run";
    for (auto [timeout, expected] : {std::pair{3000, 3000}, {2000, 2000}, {2100, 2000}}) {
        const qint64 start = clock.monotonicMs();
        EXPECT_EQ(link.waitForReceived(12, timeout, 500), -1);
        EXPECT_EQ(since(start), expected);
    }
    bus.send("0123456789AB");
    bus.advance(1);
    const qint64 slept = waits.sleptMs();
    EXPECT_EQ(link.waitForReceived(12, 3000, 2000), 0);
    EXPECT_EQ(waits.sleptMs(), slept);

    // Once characters come, the wait lasts until they stop for longer than the idle limit.
    link.clearReceived();
    qint64 start = clock.monotonicMs();
    bus.send(QString(150, u'x'), 2900, true); // 5 s at 300 baud
    EXPECT_EQ(link.waitForReceived(150, 3000, 2000), 0);
    EXPECT_LE(since(start), 2900 + 5000 + 1) << "ends with the last character, not at a later slice";
    // The quiet-line wait ends after twenty seconds at most (its limit shows in the search's timing).
    bus.send(QString(1000, u'x'), 0, true); // 33 s at 300 baud
    bus.advance(34);
    start = clock.monotonicMs();
    link.waitLineIdle(500);
    EXPECT_NEAR(since(start), 20000, 40);
}

// Only what stays in the buffer keeps a wait alive: an answer of one character every 1.8 s is read
// whole. Messages units send of their own accord, back to back from just before the time-out, are
// collected one by one as they come until the wait's limit: the time-out and the idle limit for each
// character. The message under way then is not cut: it and those behind it are collected afterwards.
TEST_F(Link, AWaitIsKeptAliveOnlyByWhatStaysAndNeverBeyondItsLimit)
{
    const QString answer = sampleMessage(kType0203);
    for (int i = 0; i < answer.size(); ++i)
        bus.send(answer.mid(i, 1), 2900 + i * 1800);
    EXPECT_EQ(link.waitForReceived(13, 3000, 2000), 0);
    EXPECT_EQ(link.received(), answer);

    link.clearReceived();
    const QString message = withAt(sampleMessage(kType0203, "042"), 4, ".A");
    bus.send(message.repeated(150), 1500, true);
    const qint64 start = clock.monotonicMs();
    EXPECT_EQ(link.waitForReceived(12, 2000, 500), -1);
    EXPECT_NEAR(since(start), 2000 + 12 * 500, 40);
    EXPECT_EQ(view.alerts.size(), 14) << "each message whose successor began by then";
    bus.advance(150 * 434);
    EXPECT_EQ(view.alerts, QStringList(150, describeMessage(message)));
}

// The window events the receive handler lets run take 2.1 s, and the port stays silent about what comes
// meanwhile: the handler reads it before it returns, never judged stale. Under a wait it reads once, so a
// line that never falls quiet leaves the wait to its own condition.
TEST_F(Link, ReceiveHandlerReadsWhatCameWhileEventsRanButLeavesAWaitToItsCondition)
{
    const auto busPump = waits.pumpHook();
    int pumps = 0;
    waits.setPumpHook([&] { clock.advanceMs(++pumps % 2 ? 0 : 2100), busPump(); });
    bus.send("0123456789AB", 0, true);
    bus.advance(34);  // the first character at 300 baud
    QString echoed;
    for (const auto &echo : view.terminal)
        echoed += echo.text;
    EXPECT_EQ(std::pair(link.received(), echoed), std::pair(QString("0123456789AB"), QString("0123456789AB")));
    link.clearReceived();
    waits.setPumpHook([&] { clock.advanceMs(40), busPump(); });
    bus.send(QString(300, 'x'), 0, true);
    EXPECT_EQ(link.waitForReceived(12, 3000, 2000), 0);
    EXPECT_LT(link.received().size(), 30) << "read on past the wait's condition";
    waits.setPumpHook(busPump);
}

TEST(BusClaimTest, OwnersExcludeEachOtherAndExchangesRunOneAtATime)
{
    resetBusClaims();
    RecordingView view;
    {
        BusClaim test(BusUser::Background);
        EXPECT_TRUE(BusClaim(BusUser::Background).granted()) << "a test's poll runs inside the test";
        EXPECT_FALSE(BusClaim(BusUser::Foreground).granted());
        EXPECT_EQ(busBusyReason(), "Schnittstelle belegt: eine automatische Prüfung oder ein Timer fragt gerade die Geräte ab");
        BusTransaction poll;
        EXPECT_TRUE(poll.granted() && !BusTransaction().granted());
    }
    {
        BusClaim status(BusUser::Foreground);
        EXPECT_FALSE(BusClaim(BusUser::Foreground).granted() || BusClaim(BusUser::Background).granted());
    }
    {
        BusTransaction unowned;
        EXPECT_EQ(busOwner(), BusUser::Foreground) << "the tick must wait for it too";
        EXPECT_FALSE(BusClaim(BusUser::Background).granted());
        EXPECT_EQ(busBusyReason(), "Schnittstelle belegt: eine andere Abfrage läuft gerade");
    }
    EXPECT_EQ(busOwner(), BusUser::None);
    // The operator's input is held once per operator's exchange, however the claims inside nest or are refused.
    EXPECT_EQ(view.inputHolds, QList<bool>({true, false, true, false}));
}

} // namespace
