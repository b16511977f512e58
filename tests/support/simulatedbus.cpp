#include "support/simulatedbus.h"

#include "core/platform/codepage.h"
#include "core/platform/waits.h"
#include "core/registry/unitaddress.h"
#include "device/link/seriallink.h"
#include "device/link/serialport.h"
#include "device/messages/automessages.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/samplemessages.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {
const QByteArray kGreetings[] = {QByteArrayLiteral("K2Connect@"), QByteArrayLiteral("B3Connect@")};
constexpr int kFrameBody = 6; // target and command code behind the line feed
} // namespace

// What the units do, shared by both forms of the bus. Times are ms on the
// bus's own clock.
struct SimulatedBus::State
{
    mutable std::mutex mutex;
    std::function<double()> now;
    std::map<int, SimUnit> units;
    std::map<int, int> requests;
    bool greetingEcho = true;
    QByteArray adapterReply;
    QByteArray input;                  // written by the station, not yet understood
    QList<SimWrite> writes;
    std::multimap<double, char> pending; // characters on their way to the station
    double lineFreeAt = 0;
    int baud = 9600;
    QString failOpen;
    bool failWrites = false;

    double charMs() const { return 10000.0 / baud; }

    // A paced character is there once its last bit is; returns when the line is free again.
    double place(const QByteArray &bytes, double start, bool paced)
    {
        for (qsizetype i = 0; i < bytes.size(); ++i)
            pending.emplace(start + (paced ? double(i + 1) * charMs() : 0.0), bytes[i]);
        return start + (paced ? double(bytes.size()) * charMs() : 0.0);
    }

    // A unit's transmission; it waits for the line to fall free.
    void transmit(const QByteArray &bytes, double start, bool paced)
    {
        start = std::max(start, lineFreeAt);
        lineFreeAt = place(bytes, start, paced);
    }

    // Characters arriving at a moment of the caller's, whatever the line carries.
    void inject(const QByteArray &bytes, double start, bool paced)
    {
        lineFreeAt = std::max(lineFreeAt, place(bytes, start, paced));
    }

    QByteArray takeDue(double at)
    {
        QByteArray due;
        while (!pending.empty() && pending.begin()->first <= at) {
            due.append(pending.begin()->second);
            pending.erase(pending.begin());
        }
        return due;
    }

    void answer(const QByteArray &target, const QByteArray &code, double at)
    {
        if (code != "S00" && code != "F00")
            return;
        for (auto &[address, unit] : units) {
            if (codepage::encode(formatUnitAddress(address)) != target)
                continue;
            const int tries = ++requests[address];
            if (unit.silent || tries < unit.answerAtTry)
                return;
            QByteArray bytes = codepage::encode(unit.message);
            if (unit.stopAfter >= 0)
                bytes.truncate(unit.stopAfter);
            transmit(bytes, at + unit.replyDelayMs, unit.paced);
            return;
        }
    }

    void stationWrote(const QByteArray &bytes)
    {
        const double at = now();
        writes.append({qint64(std::floor(at)), codepage::decode(bytes)});
        input += bytes;
        for (const QByteArray &greeting : kGreetings) {
            const qsizetype pos = input.indexOf(greeting);
            if (pos < 0)
                continue;
            input.remove(0, pos + greeting.size());
            const QByteArray reply = greetingEcho ? greeting : adapterReply;
            if (!reply.isEmpty())
                transmit(reply, at, true);
        }
        for (;;) {
            const qsizetype lf = input.indexOf('\n');
            if (lf < 0) {
                // Keep what could still become a greeting.
                input = input.right(kGreetings[0].size() - 1);
                return;
            }
            if (input.size() < lf + 1 + kFrameBody) {
                input.remove(0, lf);
                return;
            }
            const QByteArray body = input.mid(lf + 1, kFrameBody);
            const qsizetype nextLf = body.indexOf('\n');
            if (nextLf >= 0) {
                input.remove(0, lf + 1 + nextLf);
                continue;
            }
            input.remove(0, lf + 1 + kFrameBody);
            answer(body.left(3), body.mid(3), at);
        }
    }
};

// The port the link sees in-process.
class SimulatedBus::Port : public SerialPort
{
public:
    Port(State &state, FakeClock &clock) : m_state(state), m_clock(clock) {}

    bool open(const QString &, int baud) override
    {
        std::lock_guard lock(m_state.mutex);
        if (!m_state.failOpen.isEmpty()) {
            m_error = m_state.failOpen;
            return false;
        }
        m_state.baud = baud;
        m_open = true;
        return true;
    }
    void close() override
    {
        m_open = false;
        m_rx.clear();
    }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override
    {
        std::lock_guard lock(m_state.mutex);
        if (!m_open || m_state.failWrites) {
            m_error = QStringLiteral("Write error");
            return false;
        }
        m_state.stationWrote(bytes);
        return true;
    }
    QByteArray readAll() override
    {
        deliver();
        return std::exchange(m_rx, {});
    }
    qint64 bytesAvailable() const override
    {
        const_cast<Port *>(this)->deliver();
        return m_rx.size();
    }
    bool waitForReadyRead(int ms) override
    {
        if (!m_open)
            return false;
        double next;
        {
            std::lock_guard lock(m_state.mutex);
            next = m_state.pending.empty() ? -1 : m_state.pending.begin()->first;
        }
        const double now = double(m_clock.monotonicMs());
        if (next < 0 || next > now + ms) {
            appWaits().sleepMs(ms);
            return false;
        }
        appWaits().sleepMs(int(std::ceil(std::max(0.0, next - now))));
        deliver();
        announce();
        return true;
    }
    QString errorString() const override { return m_error; }

    // Moves what is due into the port's buffer, as the driver would.
    void deliver()
    {
        if (!m_open)
            return;
        std::lock_guard lock(m_state.mutex);
        const QByteArray due = m_state.takeDue(double(m_clock.monotonicMs()));
        if (!due.isEmpty()) {
            m_rx += due;
            ++m_arrivals;
        }
    }
    // Reports new bytes, but never from inside its own report.
    void announce()
    {
        if (m_emitting || m_announced == m_arrivals)
            return;
        m_announced = m_arrivals;
        if (m_rx.isEmpty())
            return;
        m_emitting = true;
        emit readyRead();
        m_emitting = false;
    }
    void loseLine()
    {
        if (!m_open)
            return;
        close();
        m_error = QStringLiteral("Resource error");
        emit lineLost();
    }

private:
    State &m_state;
    FakeClock &m_clock;
    bool m_open = false;
    QByteArray m_rx;
    QString m_error;
    int m_arrivals = 0;
    int m_announced = 0;
    bool m_emitting = false;
};

// The units' side of a pseudo-terminal, run in a thread of its own.
class SimulatedBus::PtyThread
{
public:
    explicit PtyThread(State &state) : m_state(state)
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            qFatal("openpty failed");
        m_path = QString::fromLocal8Bit(name);
        // Raw from the start, so nothing is echoed back before the station sets up the line.
        termios tio{};
        tcgetattr(m_slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_slave, TCSANOW, &tio);
        if (pipe(m_wake) != 0)
            qFatal("pipe failed");
        fcntl(m_wake[0], F_SETFL, O_NONBLOCK);
        m_state.now = [start = std::chrono::steady_clock::now()] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        };
        m_thread = std::thread([this] { run(); });
    }
    ~PtyThread()
    {
        m_stop = true;
        wake();
        m_thread.join();
        if (m_master >= 0)
            ::close(m_master);
        ::close(m_slave);
        ::close(m_wake[0]);
        ::close(m_wake[1]);
    }

    QString path() const { return m_path; }
    int waitingInLine() const
    {
        int n = 0;
        return ioctl(m_slave, FIONREAD, &n) == 0 ? n : 0;
    }
    void wake() { [[maybe_unused]] auto n = ::write(m_wake[1], "x", 1); }
    void hangUp()
    {
        m_hangUp = true;
        wake();
    }

private:
    int lineBaud() const
    {
        termios tio{};
        if (tcgetattr(m_slave, &tio) != 0)
            return 9600;
        switch (cfgetospeed(&tio)) {
        case B300: return 300;
        case B1200: return 1200;
        case B2400: return 2400;
        case B4800: return 4800;
        case B19200: return 19200;
        case B38400: return 38400;
        case B115200: return 115200;
        default: return 9600;
        }
    }

    void run()
    {
        char buffer[4096];
        while (!m_stop) {
            if (m_hangUp && m_master >= 0) {
                ::close(m_master);
                m_master = -1;
            }
            double waitMs = 50;
            {
                std::lock_guard lock(m_state.mutex);
                if (!m_state.pending.empty())
                    waitMs = std::clamp(m_state.pending.begin()->first - m_state.now(), 0.0, 50.0);
            }
            pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            const timespec timeout{0, long(waitMs * 1e6)};
            ppoll(fds, 2, &timeout, nullptr);
            if (fds[1].revents & POLLIN)
                while (::read(m_wake[0], buffer, sizeof buffer) > 0) {
                }
            if (m_master >= 0 && (fds[0].revents & POLLIN)) {
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                if (n > 0) {
                    std::lock_guard lock(m_state.mutex);
                    m_state.baud = lineBaud();
                    m_state.stationWrote(QByteArray(buffer, n));
                }
            }
            QByteArray due;
            {
                std::lock_guard lock(m_state.mutex);
                due = m_state.takeDue(m_state.now());
            }
            for (qsizetype done = 0; m_master >= 0 && done < due.size();) {
                const ssize_t n = ::write(m_master, due.constData() + done, size_t(due.size() - done));
                if (n <= 0)
                    break;
                done += n;
            }
        }
    }

    State &m_state;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = {-1, -1};
    QString m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_hangUp{false};
    std::thread m_thread;
};

SimulatedBus::SimulatedBus(FakeClock &clock, FakeWaits &waits) : d(std::make_unique<State>()), m_waits(&waits)
{
    d->now = [&clock] { return double(clock.monotonicMs()); };
    m_port = std::make_unique<Port>(*d, clock);
    serialLink().reset();
    installAutoMessageCheck();
    serialLink().setPort(m_port.get());
    waits.setPumpHook([this] {
        m_port->deliver();
        m_port->announce();
    });
}

SimulatedBus::SimulatedBus(OnPty) : d(std::make_unique<State>())
{
    m_pty = std::make_unique<PtyThread>(*d);
}

SimulatedBus::~SimulatedBus()
{
    serialLink().reset();
    installAutoMessageCheck();
    if (m_port) {
        serialLink().setPort(nullptr);
        m_waits->setPumpHook({});
    }
}

SimUnit &SimulatedBus::addUnit(int address, const QString &message)
{
    std::lock_guard lock(d->mutex);
    SimUnit &unit = d->units[address];
    unit = SimUnit{};
    unit.address = address;
    unit.message = message;
    return unit;
}

SimUnit &SimulatedBus::addUnit(int address, int deviceType)
{
    return addUnit(address, sampleMessage(deviceType, formatUnitAddress(address)));
}

int SimulatedBus::requestsTo(int address) const
{
    std::lock_guard lock(d->mutex);
    const auto it = d->requests.find(address);
    return it == d->requests.end() ? 0 : it->second;
}

void SimulatedBus::setAdapterReply(const QString &reply)
{
    std::lock_guard lock(d->mutex);
    d->greetingEcho = false;
    d->adapterReply = codepage::encode(reply);
}

void SimulatedBus::send(const QString &text, int delayMs, bool paced)
{
    {
        std::lock_guard lock(d->mutex);
        d->inject(codepage::encode(text), d->now() + delayMs, paced);
    }
    if (m_pty)
        m_pty->wake();
}

void SimulatedBus::sendInBursts(const QString &message, const QList<int> &sizes, int gapMs)
{
    qsizetype from = 0;
    int delay = 0;
    for (qsizetype i = 0; i < sizes.size() && from < message.size(); ++i) {
        const qsizetype size = i + 1 == sizes.size() ? message.size() - from : sizes[i];
        send(message.mid(from, size), delay);
        from += size;
        delay += gapMs;
    }
}

QList<SimWrite> SimulatedBus::writeLog() const
{
    std::lock_guard lock(d->mutex);
    return d->writes;
}

QStringList SimulatedBus::writes() const
{
    QStringList texts;
    for (const SimWrite &w : writeLog())
        texts.append(w.text);
    return texts;
}

QString SimulatedBus::wire() const { return writes().join(QString()); }

void SimulatedBus::clearWrites()
{
    std::lock_guard lock(d->mutex);
    d->writes.clear();
}

void SimulatedBus::failOpen(const QString &error)
{
    std::lock_guard lock(d->mutex);
    d->failOpen = error;
}

void SimulatedBus::failWrites(bool fail)
{
    std::lock_guard lock(d->mutex);
    d->failWrites = fail;
}

void SimulatedBus::hangUp()
{
    if (m_pty)
        m_pty->hangUp();
    else
        m_port->loseLine();
}

void SimulatedBus::advance(int ms)
{
    const double target = d->now() + ms;
    for (;;) {
        double next;
        {
            std::lock_guard lock(d->mutex);
            next = d->pending.empty() ? -1 : d->pending.begin()->first;
        }
        if (next < 0 || next > target)
            break;
        const double now = d->now();
        if (next > now)
            m_waits->sleepMs(int(std::ceil(next - now)));
        m_port->deliver();
        m_port->announce();
    }
    const double now = d->now();
    if (target > now)
        m_waits->sleepMs(int(std::ceil(target - now)));
}

QString SimulatedBus::path() const { return m_pty ? m_pty->path() : QString(); }

int SimulatedBus::unreadByStation() const
{
    if (!m_pty)
        return -1;
    std::lock_guard lock(d->mutex);
    return int(d->pending.size()) + m_pty->waitingInLine();
}

int SimulatedBus::baud() const
{
    std::lock_guard lock(d->mutex);
    return d->baud;
}

double SimulatedBus::charMs() const
{
    std::lock_guard lock(d->mutex);
    return d->charMs();
}
