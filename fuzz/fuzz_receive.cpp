// Any byte stream arriving in chunks at the receive path while the station
// asks units for their status and checks for automatic messages: garbled
// headers, ".A" storms, a line that breaks and is opened again. The bus is
// simulated in-process on the fake clock, so hours of line time run in
// milliseconds.
#include "fuzzstation.h"

#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/link/seriallink.h"
#include "device/messages/messagegrammar.h"
#include "device/messages/statusrequest.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString text(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void registerUnits()
{
    for (const int addr : {1, 42, 100, 1007}) {
        addUnit(addr, QString());
        units().at(addr).description = fixedWidth(QStringLiteral("Ausgang Süd %1").arg(addr), kDescriptionWidth);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzStation &station = FuzzStation::get();
    static const bool ready = (registerUnits(), true);
    Q_UNUSED(ready)
    station.freshFolder();
    FuzzedDataProvider input(data, size);

    SimulatedBus bus(station.clock, station.waits);
    // Units that answer: one at once, one slowly, one only at its second try.
    bus.addUnit(1, 1);
    bus.addUnit(42, 5).replyDelayMs = 1500;
    bus.addUnit(100, 3).answerAtTry = 2;
    settings().comMode = kModeConverter;
    serialLink().openComPort(1);

    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0: {   // characters on the line, at once or at the line's pace
            const int delay = input.ConsumeIntegralInRange(0, 3000);
            const bool paced = input.ConsumeBool();
            bus.send(text(input, 80), delay, paced);
            break;
        }
        case 1: {   // an automatic message in bursts
            const int gap = input.ConsumeIntegralInRange(0, 900);
            QList<int> sizes;
            for (int n = input.ConsumeIntegralInRange(1, 4); n > 0; --n)
                sizes.append(input.ConsumeIntegralInRange(0, 40));
            bus.sendInBursts(QStringLiteral("042.A0403019") + text(input, 40), sizes, gap);
            break;
        }
        case 2: {   // a status request while all this goes on
            const int addresses[] = {1, 42, 100, 7, 1007, 2000};
            const int addr = addresses[input.ConsumeIntegralInRange(0, 5)];
            QString answer, reason;
            const int length = requestStatus(addr, answer, QStringLiteral("00"), &reason);
            fuzzCheck(!reason.isEmpty(), "a request always gives its reason");
            fuzzCheck(length == -1 || (length == answer.size() && checkMessageSyntax(answer)),
                      "only a whole, well-formed answer counts");
            break;
        }
        case 3:     // time passes outside any wait
            bus.advance(input.ConsumeIntegralInRange(0, 5000));
            break;
        case 4:     // the adapter is pulled out and put back
            bus.hangUp();
            fuzzCheck(!settings().portOk, "a broken line leaves the port closed");
            serialLink().openComPort(1);
            break;
        default: {  // the receive path as the line's own event calls it
            serialLink().receivePending();
            break;
        }
        }
    }
    // Whatever is still on its way arrives and every quiet-line wait ends;
    // the bus going away closes the port.
    bus.advance(30000);
    return 0;
}
