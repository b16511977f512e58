#include "support/qtprint.h"

#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/messages/statusrequest.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <gtest/gtest.h>

namespace {

class StatusRequestTest : public ::testing::Test
{
protected:
    StatusRequestTest()
    {
        settings() = StationSettings{};
        serialLink().openComPort(1);
    }

    // One exchange: the result, the answer and the reason.
    struct Outcome
    {
        int result;
        QString answer;
        QString reason;
    };
    Outcome request(int address)
    {
        Outcome o{0, QStringLiteral("untouched"), {}};
        o.result = requestStatus(address, o.answer, QStringLiteral("00"), &o.reason);
        return o;
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    SimulatedBus bus{clock, waits};
};

TEST_F(StatusRequestTest, WholeAnswerComesBackWithItsLength)
{
    const QString message = sampleMessage(kType0403, "S50");
    bus.addUnit(1050, message);
    const Outcome o = request(1050);
    EXPECT_EQ(o.result, 19);
    EXPECT_EQ(o.answer, message);
    EXPECT_EQ(o.reason, "kein Fehler");
    EXPECT_EQ(bus.writes(), QStringList({"\nS50S00"}));
}

TEST_F(StatusRequestTest, EveryFailureHasItsReason)
{
    const QString good = sampleMessage(kType0403, "007");
    const struct { const char *name; QString message; bool silent; QString reason; } cases[] = {
        {"silent unit", good, true, "Gerät antwortete nicht auf Anfrage"},
        {"letter among the length digits", withAt(good, 12, "x"), false, "Antwort war syntaktisch falsch"},
        {"letter in the address digits", withAt(good, 2, "O"), false, "Antwort war syntaktisch falsch"},
        {"stops inside the body", good.left(15), false, "Gerät hat aufgehört zu senden"},
        {"total length below the header", "007S00203011" + QString(40, u'E'), false,
         "Antwort war syntaktisch falsch"},
        {"type code outside the table", withAt(good, 6, "0999"), false, "Nachricht war syntaktisch falsch"},
        {"body breaks the grammar", withAt(good, 16, "x"), false, "Nachricht war syntaktisch falsch"},
    };
    for (const auto &c : cases) {
        bus.addUnit(7, c.message).silent = c.silent;
        const Outcome o = request(7);
        EXPECT_EQ(o.result, -1) << c.name;
        EXPECT_EQ(o.reason, c.reason) << c.name;
        // Only an answer read whole is handed back, even when it breaks the grammar.
        EXPECT_EQ(o.answer, c.reason.startsWith("Nachricht") ? c.message : "untouched") << c.name;
        clock.advanceMs(5000); // let the line fall quiet between cases
    }
    EXPECT_EQ(bus.writes(), QStringList(7, "\n007S00"));

    bus.clearWrites();
    for (int address : {0, 2001}) {
        const Outcome o = request(address);
        EXPECT_EQ(o.result, -1);
        EXPECT_EQ(o.reason, "Ungültige Geräteadresse");
        EXPECT_EQ(o.answer, "untouched");
    }
    EXPECT_EQ(bus.wire(), QString());

    bus.failWrites(true);
    EXPECT_EQ(request(7).reason, "Senden fehlgeschlagen");
}

TEST_F(StatusRequestTest, TotalLengthDecidesHowMuchIsRead)
{
    // 014: exactly two characters behind the header; the rest stays buffered.
    bus.addUnit(7, "007S00203014EA" "ZZZ").paced = false;
    Outcome o = request(7);
    EXPECT_EQ(o.result, 14);
    EXPECT_EQ(o.answer, "007S00203014EA");
    EXPECT_EQ(serialLink().received(), "ZZZ");

    // 012: whatever is buffered behind the header is taken with it.
    clock.advanceMs(5000);
    bus.addUnit(8, "008S00203012EAA").paced = false;
    o = request(8);
    EXPECT_EQ(o.answer, "008S00203012EAA");
    EXPECT_EQ(o.result, 15);
}

TEST_F(StatusRequestTest, LateTailOfAnEarlierAnswerDoesNotSpoilTheNextOne)
{
    const QString message = sampleMessage(kType0403, "007");
    bus.addUnit(7, message);
    bus.send("042S0040"); // an earlier answer, cut short ...
    bus.advance(0);
    bus.send("3019-!-e12x", 100); // ... whose tail comes during the quiet-line wait
    const Outcome o = request(7);
    EXPECT_EQ(o.reason, "kein Fehler");
    EXPECT_EQ(o.answer, message);
}

TEST_F(StatusRequestTest, SecondExchangeIsRefusedWhileOneRuns)
{
    bus.addUnit(7, kType0203);
    BusTransaction running;
    const Outcome o = request(7);
    EXPECT_EQ(o.result, -1);
    EXPECT_EQ(o.reason, "Schnittstelle belegt: eine andere Abfrage läuft gerade");
    EXPECT_EQ(bus.wire(), QString());
}

} // namespace
