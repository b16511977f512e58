// Starts the built station on a pseudo-terminal in cable mode, lets the
// adapter's greeting pass, then feeds a minute of line noise paced at 9600 baud
// (one byte about every millisecond) and prints the station's processor time
// over each 5-second step, as a share of one core. The serial terminal is never
// shown, as at an unattended installation.
#include "core/platform/codepage.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kSeconds = 60;
constexpr int kStepSeconds = 5;
// 9600 baud, ten bits to a character.
constexpr int kCharsPerSecond = 960;

// User and system time of a process in seconds, from /proc/<pid>/stat.
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name, which stands in parentheses and may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();  // utime, stime
    return ticks / double(sysconf(_SC_CLK_TCK));
}

bool waitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TempAppFolder folder;
    SimulatedBus bus{SimulatedBus::OnPty{}};
    folder.write(QStringLiteral("Nuvax.ini"), QByteArrayLiteral("[COM]\r\nPort=0\r\nComMode=1\r\n"));

    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NUVAX_HOME"), folder.path());
    env.insert(QStringLiteral("NUVAX_COM1"), bus.path());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    station.setProcessEnvironment(env);
    station.setProcessChannelMode(QProcess::ForwardedChannels);
    station.start(QStringLiteral(NUVAX_EXECUTABLE), {});
    if (!station.waitForStarted(10000)
        || !waitUntil([&] { return !bus.wire().isEmpty() && bus.unreadByStation() == 0; }, 15000)) {
        std::fprintf(stderr, "the station did not start or sent no greeting\n");
        return 1;
    }
    QThread::msleep(1000);  // the handshake ends and the station settles

    QByteArray noise(kSeconds * kCharsPerSecond, Qt::Uninitialized);
    QRandomGenerator random(21);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    bus.send(codepage::decode(noise), 0, true);

    const qint64 pid = station.processId();
    std::printf("station CPU under line noise at %d baud, terminal hidden (share of one core)\n", bus.baud());
    double before = cpuSeconds(pid);
    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step * kStepSeconds <= kSeconds; ++step) {
        QThread::msleep(ulong(step * kStepSeconds * 1000 - clock.elapsed()));
        const double now = cpuSeconds(pid);
        std::printf("  %2d-%2d s: %5.1f %%\n", (step - 1) * kStepSeconds, step * kStepSeconds,
                    100.0 * (now - before) / kStepSeconds);
        std::fflush(stdout);
        before = now;
    }
    // A station that kept up has read the noise up to its last byte.
    QThread::msleep(500);
    std::printf("  bytes the station left unread: %d of %lld\n", bus.unreadByStation(), static_cast<long long>(noise.size()));
    station.kill();
    station.waitForFinished(5000);
    return 0;
}
