#include "support/busfixture.h"

#include "core/registry/unitaddress.h"
#include "device/messages/messagedescriber.h"
#include "device/messages/statusrequest.h"

#include <QCoreApplication>

namespace {

class AutoMessage : public BusFixture
{
protected:
    AutoMessage() : BusFixture(at(14, 5)) {}
    static QString automatic() { return withAt(sampleMessage(kType0403, "042"), 4, ".A"); }
};

TEST_F(AutoMessage, OnlyTheKindMarksOneAndItIsLoggedAndShownOnceTheLineFallsQuiet)
{
    const QString message = withAt(automatic(), 15, "!");
    bus.send(message);
    bus.advance(0);
    EXPECT_EQ(std::tuple(view.alerts, serialLink().received(), clock.localNow().time()),
              std::tuple(QStringList({describeMessage(message)}), "", QTime(14, 5, 0, 501))) << "collected until 500 ms of quiet";
    EXPECT_EQ(folder.read("logs/Allgemein.log"), codepage::encode("[07.03.2011 14:05:00] Automatische Statusmeldung erhalten\r\n"
                                                                  + describeMessage(message) + "\r\n\r\n\r\n"));
    view.alerts.clear();
    bus.send("042S00403019");
    bus.advance(1000);
    EXPECT_EQ(view.alerts.join("") + serialLink().received(), "042S00403019") << "no alert; left for the request waiting for it";
    serialLink().clearReceived();
    bus.send("X1-.A", 5000);
    bus.send("garbage", 5001);
    bus.advance(5001);
    EXPECT_EQ(view.alerts.size(), 1) << "12 characters with .A are enough, whatever else they hold";
}

// A NUL passes the header's address pattern; the line end at the close goes, the one inside is the unit's.
TEST_F(AutoMessage, ItsControlCharactersForgeNoLineOfTheLog)
{
    const QString message = QChar(0) + QStringLiteral("42.A0403019!-!e12x\r\n[01.01.2020 00:00:00] gefälscht\u0081");
    bus.send(message + "\r\n");
    bus.advance(0);
    const QString description = "Geräteadresse: <NUL>42\r\nGerätetyp: QOR-TD\r\nNachricht syntaktisch falsch!\r\n"
                                "Meldung: <NUL>42.A0403019!-!e12x<CR><LF>[01.01.2020 00:00:00] gefälscht<0x81>";
    EXPECT_EQ(view.alerts, QStringList({description}));
    EXPECT_EQ(folder.read("logs/Allgemein.log"), codepage::encode("[07.03.2011 14:05:00] Automatische Statusmeldung erhalten\r\n"
                                                                  + description + "\r\n\r\n\r\n"));
}

TEST_F(AutoMessage, BurstsAreOneMessageOnlyWhileTheLineDoesNotFallQuiet)
{
    const QString message = automatic();
    bus.sendInBursts(message, {13, 6}, 300);
    bus.advance(0);
    bus.sendInBursts(message, {13, 6}, 600);
    bus.advance(700);
    EXPECT_EQ(view.alerts, QStringList({describeMessage(message), describeMessage(message.left(13))}));
    EXPECT_EQ(serialLink().received(), message.mid(13)) << "the rest carries no .A of its own";
}

TEST_F(AutoMessage, AMessageAheadOfAnAnswerEndsAtItsLengthAndLeavesTheAnswerToItsRequest)
{
    const QString answer = sampleMessage(kType0203, "007");
    bus.addUnit(7, answer).replyDelayMs = 100;
    const QString message = automatic();
    bus.send(message, 10);
    QString got, reason;
    EXPECT_EQ(std::tuple(requestStatus(7, got, "00", &reason), got, reason), std::tuple(13, answer, "kein Fehler"));
    EXPECT_EQ(view.alerts, QStringList({describeMessage(message)}));
}

TEST_F(AutoMessage, AQueryWhileAMessageIsCollectedIsRefusedAndTheMessageStaysWhole)
{
    // The operator asks for unit 7 when the second burst of the message has come.
    struct QueryView : RecordingView
    {
        void echoTerminal(const QString &text, bool sent) override
        {
            RecordingView::echoTerminal(text, sent);
            if (!sent && ++received == 2)
                result = requestStatus(7, answer, "00", &reason);
        }
        int received = 0, result = 0;
        QString answer, reason;
    } queryView;
    bus.addUnit(7, sampleMessage(kType0203, "007"));
    const QString message = withAt(automatic(), 13, "!");
    bus.sendInBursts(message, {13, 3}, 300);
    bus.advance(1000);

    EXPECT_EQ(std::tuple(queryView.result, queryView.reason, bus.wire()),
              std::tuple(-1, "Schnittstelle belegt: eine andere Abfrage läuft gerade", ""));
    EXPECT_EQ(queryView.alerts, QStringList({describeMessage(message)}));
    EXPECT_TRUE(describeMessage(message).contains("Kontakt 1: FEHLER"));
}

TEST_F(AutoMessage, AChatteringUnitLosesNoMessageAndCannotExhaustTheStack)
{
    // Every message comes whole, 400 ms after the one before: the line never
    // falls quiet, and each message starts while the one before it waits.
    struct DepthView : RecordingView
    {
        void appendAlert(const QString &text) override
        {
            const auto frame = reinterpret_cast<quintptr>(__builtin_frame_address(0));
            lowest = std::min(lowest, frame);
            highest = std::max(highest, frame);
            RecordingView::appendAlert(text);
        }
        quintptr lowest = ~quintptr(0), highest = 0;
    } depthView;
    QStringList sent;
    for (int i = 0; i < 1000; ++i) {
        sent.append(withAt(sampleMessage(kType0203, QString::number(i).rightJustified(3, u'0')), 4, ".A"));
        bus.send(sent.last(), i * 400);
    }
    bus.advance(1000 * 400 + 30000);
    const QString shown = depthView.alerts.join(u'|');
    for (const QString &message : sent)
        ASSERT_TRUE(shown.contains(message)) << message.toStdString();
    EXPECT_LT(depthView.highest - depthView.lowest, 128u * 1024) << "the receive path nests without bound";
}

// Units report back to back while the station takes 2.5 s over each alarm (a slow disk under a long log):
// their characters wait with the driver meanwhile, and that is no quiet line. Every message is handed on
// once, whole and in order; a fragment the line really left for more than 2 s still goes.
TEST_F(AutoMessage, AStationBusyWithEachAlarmLosesNoMessageOfABurstYetAQuietLineDropsAFragment)
{
    struct SlowView : RecordingView
    {
        explicit SlowView(FakeClock &clock) : clock(clock) {}
        void appendAlert(const QString &text) override
        {
            RecordingView::appendAlert(text);
            clock.advanceMs(2500);
        }
        FakeClock &clock;
    } slowView(clock);
    const QStringList messages = mainsFailureMessages(24);
    bus.send("~");  // the units' line time begins now
    bus.advance(1);
    bus.burst(messages, QList<int>(messages.size(), 0));
    bus.advance(120000);
    EXPECT_EQ(slowView.alerts, alertsOf(messages));
    EXPECT_EQ(logText("Allgemein.log").count("Automatische Statusmeldung erhalten"), messages.size());

    slowView.alerts.clear();
    bus.send(messages[0].left(7));
    bus.send(messages[1], 2100);
    bus.advance(10000);
    EXPECT_EQ(slowView.alerts, alertsOf({messages[1]}));
}

// A message is never left where nobody looks: behind noise, in front of an answer with noise before it,
// right behind an answer on a line that then falls silent, or behind the adapter's answer that the
// handshake empties away at once.
TEST_F(AutoMessage, AMessageIsNeverLeftBehindNoiseAnAnswerOrAnEmptiedBuffer)
{
    QStringList messages;
    for (const char *adr : {"001", "002", "003", "004"})
        messages.append(withAt(withAt(automatic(), 1, adr), 15, "!"));
    bus.send("~\x7f" + messages[0], 0, true);
    bus.advance(2000);

    const QString answer7 = sampleMessage(kType0203, "007");
    bus.addUnit(7, answer7).replyDelayMs = 100;
    bus.send(QChar(0) + messages[1], 10);
    QString got;
    EXPECT_EQ(std::pair(requestStatus(7, got, "00"), got), std::pair(13, answer7));

    const QString answer8 = sampleMessage(kType0203, "008");
    SimUnit &unit8 = bus.addUnit(8, answer8 + messages[2]);
    unit8.paced = false;
    EXPECT_EQ(std::pair(requestStatus(8, got, "00"), got), std::pair(13, answer8));
    QCoreApplication::processEvents();

    bus.send("K2Connect@" + messages[3], 50);
    EXPECT_EQ(serialLink().connectAdapter(kModeCable), 0);
    EXPECT_EQ(view.alerts, alertsOf(messages));
}

// Units that keep the line busy for 25 s hold a request's wait for a quiet line to its limit of 20 s, with
// one message whole in the buffer and 5 characters of the next, or 15: the request empties the buffer then,
// sends and waits for its answer, and no message is cut, lost or taken for the answer.
TEST_F(AutoMessage, ARequestThatCannotWaitForAQuietLineCutsNoMessage)
{
    QStringList messages;
    for (int i = 0; i < 40; ++i)
        messages.append(withAt(automatic(), 1, formatUnitAddress(i + 1)));
    for (const int charactersOfTheNext : {5, 15}) {
        view.alerts.clear();
        bus.send("~");
        bus.advance(1);
        // At 300 baud 600 characters come in 20 s, each message 19 of them, behind some noise.
        bus.send(QString((600 - charactersOfTheNext) % 19, u'~') + messages.join(""), 0, true);
        const qint64 asked = clock.monotonicMs();
        QString got;
        EXPECT_EQ(requestStatus(7, got, "00"), -1);
        EXPECT_EQ(bus.writeLog().value(0).atMs - asked, 20000);
        bus.advance(30000);
        bus.clearWrites();
        EXPECT_EQ(view.alerts, alertsOf(messages)) << charactersOfTheNext;
    }
}

} // namespace
