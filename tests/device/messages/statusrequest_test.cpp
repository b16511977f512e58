#include "support/busfixture.h"

#include "device/messages/statusrequest.h"

namespace {

class StatusRequest : public BusFixture
{
protected:
    struct Outcome
    {
        int result;
        QString answer, reason;
    };
    Outcome request(int address)
    {
        Outcome o{0, "untouched", {}};
        o.result = requestStatus(address, o.answer, "00", &o.reason);
        return o;
    }
};

TEST_F(StatusRequest, WholeAnswerComesBackWithItsLengthAndEveryFailureHasItsReason)
{
    const QString message = sampleMessage(kType0403, "S50");
    bus.addUnit(1050, message);
    Outcome o = request(1050);
    EXPECT_EQ(std::tuple(o.result, o.answer, o.reason, bus.wire()), std::tuple(19, message, "kein Fehler", "\nS50S00"));

    bus.clearWrites();
    const QString good = sampleMessage(kType0403, "007");
    const struct { const char *name; QString message; bool silent; QString reason; } cases[] = {
        {"silent unit", good, true, "Gerät antwortete nicht auf Anfrage"},
        {"letter among the length digits", withAt(good, 12, "x"), false, "Antwort war syntaktisch falsch"},
        {"letter in the address digits", withAt(good, 2, "O"), false, "Antwort war syntaktisch falsch"},
        {"stops inside the body", good.left(15), false, "Gerät hat aufgehört zu senden"},
        {"total length below the header", "007S00203011" + QString(40, u'E'), false, "Antwort war syntaktisch falsch"},
        {"type code outside the table", withAt(good, 6, "0999"), false, "Nachricht war syntaktisch falsch"},
        {"body breaks the grammar", withAt(good, 16, "x"), false, "Nachricht war syntaktisch falsch"},
    };
    for (const auto &c : cases) {
        bus.addUnit(7, c.message).silent = c.silent;
        o = request(7);
        // Only an answer read whole is handed back, even when it breaks the grammar.
        EXPECT_EQ(std::tuple(o.result, o.reason, o.answer),
                  std::tuple(-1, c.reason, c.reason.startsWith("Nachricht") ? c.message : "untouched")) << c.name;
        clock.advanceMs(5000); // let the line fall quiet between cases
    }
    EXPECT_EQ(bus.writes(), QStringList(7, "\n007S00"));

    bus.clearWrites();
    for (int address : {0, 2001}) {
        o = request(address);
        EXPECT_EQ(std::tuple(o.result, o.answer, o.reason),
                  std::tuple(-1, QString("untouched"), QString("Ungültige Geräteadresse")));
    }
    EXPECT_EQ(BusTransaction().granted() ? request(7).reason : "", "Schnittstelle belegt: eine andere Abfrage läuft gerade");
    EXPECT_EQ(bus.wire(), "");
    bus.failWrites(true);
    EXPECT_EQ(request(7).reason, "Senden fehlgeschlagen");
}

TEST_F(StatusRequest, TotalLengthDecidesHowMuchIsReadAndALateTailSpoilsNothing)
{
    // 014: exactly two characters behind the header; the rest stays buffered.
    bus.addUnit(7, "007S00203014EA" "ZZZ").paced = false;
    Outcome o = request(7);
    EXPECT_EQ(std::tuple(o.result, o.answer, serialLink().received()), std::tuple(14, "007S00203014EA", "ZZZ"));
    // 012: whatever is buffered behind the header is taken with it.
    clock.advanceMs(5000);
    bus.addUnit(8, "008S00203012EAA").paced = false;
    o = request(8);
    EXPECT_EQ(std::pair(o.result, o.answer), std::pair(15, QString("008S00203012EAA")));

    const QString message = sampleMessage(kType0403, "007");
    bus.addUnit(7, message);
    clock.advanceMs(5000);
    bus.send("042S0040"); // an earlier answer, cut short ...
    bus.advance(0);
    bus.send("3019-!-e12x", 100); // ... whose tail comes during the quiet-line wait
    o = request(7);
    EXPECT_EQ(std::pair(o.reason, o.answer), std::pair(QString("kein Fehler"), message));
}

} // namespace
