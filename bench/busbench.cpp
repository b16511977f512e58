// Polls 100 simulated units through the real serial port and a pseudo-terminal,
// the units pacing their answers at 9600 baud, and prints what the station adds
// per unit beyond the bytes' own line time and the 500 ms of quiet line that
// must pass before each request: once as it runs unattended, once with the
// serial terminal shown and echoing every character in both directions.
#include "core/formlogic/terminalecho.h"
#include "core/registry/unitaddress.h"
#include "core/station/stationsettings.h"
#include "core/station/stationview.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/messages/statusrequest.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"
#include "ui/forms/frmdebug.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <cstdio>

namespace {

constexpr int kUnits = 100;

// The echo as the main window passes it on.
class TerminalView : public StationView
{
public:
    explicit TerminalView(FrmDebug &terminal) : m_terminal(terminal) {}
    void echoTerminal(const QString &text, bool sent) override
    {
        m_terminal.addText(sent ? kEchoSent : kEchoReceived, text, true);
    }

private:
    FrmDebug &m_terminal;
};

struct PollFigures
{
    int answered = 0;
    double totalMs = 0;
    double addedPerUnitMs = 0;
};

PollFigures poll(double lineTimeMs)
{
    QElapsedTimer timer;
    timer.start();
    PollFigures figures;
    for (int address = 1; address <= kUnits; ++address) {
        QString answer;
        if (requestStatus(address, answer) > 0)
            ++figures.answered;
    }
    figures.totalMs = double(timer.nsecsElapsed()) / 1e6;
    const double quietLine = 500.0 * kUnits;
    figures.addedPerUnitMs = (figures.totalMs - lineTimeMs - quietLine) / kUnits;
    return figures;
}

void print(const char *title, const PollFigures &figures)
{
    std::printf("%s\n", title);
    std::printf("  units answered:        %d of %d\n", figures.answered, kUnits);
    std::printf("  whole poll:            %.1f ms\n", figures.totalMs);
    std::printf("  added per unit:        %.2f ms (target: under 10 ms)\n", figures.addedPerUnitMs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TempAppFolder folder;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    qputenv("NUVAX_COM1", bus.path().toLocal8Bit());

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
    // The pseudo-terminal hands the station's requests over at once; only the
    // answers take their line time.
    const double lineTime = double(answerChars) * bus.charMs();
    std::printf("line time of the answers: %.1f ms, quiet line 500 ms per unit\n", lineTime);

    const PollFigures plain = poll(lineTime);
    print("without the terminal", plain);

    FrmDebug terminal(nullptr);
    terminal.show();
    TerminalView view(terminal);
    installView(&view);
    const PollFigures echoed = poll(lineTime);
    installView(nullptr);
    print("with the terminal shown and echoing", echoed);
    std::printf("  terminal now holds:    %lld characters\n",
                static_cast<long long>(terminal.terminal()->document()->characterCount() - 1));

    serialLink().reset();
    return plain.answered == kUnits && echoed.answered == kUnits ? 0 : 1;
}
