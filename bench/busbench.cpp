// Polls 100 simulated units through the real serial port and a pseudo-terminal,
// the units pacing their answers at 9600 baud, and prints what the station adds
// per unit beyond the bytes' own line time and the 500 ms of quiet line that
// must pass before each request, and the processor time it takes: once as it
// runs unattended, once with the serial terminal shown and echoing every
// character in both directions, and once more with the terminal close to its
// limit when the poll begins.
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
#include <QPushButton>
#include <QTextEdit>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kUnits = 100;
constexpr int kFullTerminal = 30000;

// Requests and answers as the line carries them, repeated to the given length.
QString busTraffic(int length)
{
    const QString exchange = QStringLiteral("\n001S00") + sampleMessage(kType0403, QStringLiteral("001")) + QStringLiteral("\r\n");
    QString text;
    while (text.size() < length)
        text += exchange;
    text.truncate(length);
    return text;
}

// What the box shows once it has taken in the last echoes.
qsizetype terminalLength(const FrmDebug &terminal)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2 * FrmDebug::kGatherMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, FrmDebug::kGatherMs);
    return terminal.terminal()->document()->characterCount() - 1;
}

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
    double cpuPerUnitMs = 0;
};

// Processor time of this process so far, user and system.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

PollFigures poll(double lineTimeMs)
{
    QElapsedTimer timer;
    timer.start();
    const double cpuAtStart = cpuMs();
    PollFigures figures;
    for (int address = 1; address <= kUnits; ++address) {
        QString answer;
        if (requestStatus(address, answer) > 0)
            ++figures.answered;
    }
    figures.totalMs = double(timer.nsecsElapsed()) / 1e6;
    const double quietLine = 500.0 * kUnits;
    figures.addedPerUnitMs = (figures.totalMs - lineTimeMs - quietLine) / kUnits;
    figures.cpuPerUnitMs = (cpuMs() - cpuAtStart) / kUnits;
    return figures;
}

void print(const char *title, const PollFigures &figures)
{
    if (*title)
        std::printf("%s\n", title);
    std::printf("  units answered:        %d of %d\n", figures.answered, kUnits);
    std::printf("  whole poll:            %.1f ms\n", figures.totalMs);
    std::printf("  added per unit:        %.2f ms (target: under 5 ms)\n", figures.addedPerUnitMs);
    std::printf("  processor per unit:    %.2f ms\n", figures.cpuPerUnitMs);
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
    print("with the terminal shown and echoing", echoed);
    std::printf("  terminal now holds:    %lld characters\n", static_cast<long long>(terminalLength(terminal)));

    // A terminal left open for a while: close to its limit before the poll begins.
    terminal.findChild<QPushButton *>(QStringLiteral("Command1"))->click();  // "Datenfeld leeren"
    terminal.addText(kEchoReceived, busTraffic(kFullTerminal), true);
    terminalLength(terminal);
    const PollFigures full = poll(lineTime);
    installView(nullptr);
    std::printf("with the terminal shown and holding %d characters at the start\n", kFullTerminal);
    print("", full);
    std::printf("  terminal now holds:    %lld characters\n", static_cast<long long>(terminalLength(terminal)));

    serialLink().reset();
    return plain.answered == kUnits && echoed.answered == kUnits && full.answered == kUnits ? 0 : 1;
}
