// Polls 100 simulated units through the real serial port and a pseudo-terminal,
// the units pacing their answers at 9600 baud, and prints what the station adds
// per unit beyond the bytes' own line time and the 500 ms of quiet line that
// must pass before each request.
#include "core/stationsettings.h"
#include "core/unitaddress.h"
#include "device/devicetypes.h"
#include "device/seriallink.h"
#include "device/statusrequest.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TempAppFolder folder;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    qputenv("NUVAX_COM1", bus.path().toLocal8Bit());

    constexpr int kUnits = 100;
    const int types[] = {kType0203, kType0403, kType2001, kType0501, kType0901, kType1000};
    qsizetype answerChars = 0;
    for (int address = 1; address <= kUnits; ++address) {
        const QString message = sampleMessage(types[address % std::size(types)], formatUnitAddress(address));
        bus.addUnit(address, message);
        answerChars += message.size();
    }

    settings().comMode = kModeCable;
    if (!serialLink().openComPort(1)) {
        std::fprintf(stderr, "the pseudo-terminal could not be opened\n");
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    int answered = 0;
    for (int address = 1; address <= kUnits; ++address) {
        QString answer;
        if (requestStatus(address, answer) > 0)
            ++answered;
    }
    const double total = double(timer.nsecsElapsed()) / 1e6;
    // The pseudo-terminal hands the station's requests over at once; only the
    // answers take their line time.
    const double lineTime = double(answerChars) * bus.charMs();
    const double quietLine = 500.0 * kUnits;
    const double extra = (total - lineTime - quietLine) / kUnits;

    std::printf("units answered:          %d of %d\n", answered, kUnits);
    std::printf("whole poll:              %.1f ms\n", total);
    std::printf("line time of the answers: %.1f ms\n", lineTime);
    std::printf("quiet line, 500 ms each:  %.1f ms\n", quietLine);
    std::printf("added per unit:          %.2f ms (target: under 10 ms)\n", extra);
    serialLink().reset();
    return answered == kUnits ? 0 : 1;
}
