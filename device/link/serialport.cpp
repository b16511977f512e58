#include "device/link/serialport.h"

#include <QSerialPort>

#include <sys/ioctl.h>
#include <termios.h>

QString serialPortPath(int portNumber)
{
    const QByteArray named = qgetenv("NUVAX_COM" + QByteArray::number(portNumber));
    if (!named.isEmpty())
        return QString::fromLocal8Bit(named);
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

namespace {
// Long enough for a terminal line of a thousand characters at 300 baud to reach the driver.
constexpr int kWriteTimeoutMs = 5000;
} // namespace

HardwareSerialPort::HardwareSerialPort(QObject *parent) : SerialPort(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(error); });
}

HardwareSerialPort::~HardwareSerialPort() = default;

bool HardwareSerialPort::open(const QString &path, int baud)
{
    if (m_port->isOpen())
        m_port->close();
    m_port->setPortName(path);
    m_port->setBaudRate(baud);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_holder = {};
    if (m_port->open(QIODevice::ReadWrite))
        return true;
    m_lastError = m_port->errorString();
    // The driver calls a device locked by another process a missing permission.
    if (m_port->error() == QSerialPort::PermissionError)
        m_holder = lockHolder(portLockFile(path));
    return false;
}

void HardwareSerialPort::close()
{
    if (m_port->isOpen())
        m_port->close();
}

bool HardwareSerialPort::isOpen() const { return m_port->isOpen(); }

bool HardwareSerialPort::write(const QByteArray &bytes)
{
    if (!m_port->isOpen())
        return false;
    if (m_port->write(bytes) != bytes.size())
        return writeFailed();
    // write() only queues; the bytes must be with the driver before any plain sleep.
    while (m_port->isOpen() && m_port->bytesToWrite() > 0) {
        const int takenBefore = m_takenElsewhere;
        // A read that another process beat while the write waited fails no write.
        if (!m_port->waitForBytesWritten(kWriteTimeoutMs) && m_takenElsewhere == takenBefore)
            return writeFailed();
    }
    return m_port->isOpen();
}

QByteArray HardwareSerialPort::readAll() { return m_port->isOpen() ? m_port->readAll() : QByteArray(); }

qint64 HardwareSerialPort::bytesAvailable() const { return m_port->isOpen() ? m_port->bytesAvailable() : 0; }

bool HardwareSerialPort::holdsUnread() const
{
    if (!m_port->isOpen())
        return false;
    // The driver's queue fills while the station is busy elsewhere: the port
    // is told of those bytes only when events run again.
    int queued = 0;
    return m_port->bytesAvailable() > 0 || (::ioctl(m_port->handle(), FIONREAD, &queued) == 0 && queued > 0);
}

bool HardwareSerialPort::waitForReadyRead(int ms)
{
    return m_port->isOpen() && m_port->waitForReadyRead(ms);
}

QString HardwareSerialPort::errorString() const { return m_lastError; }

PortHolder HardwareSerialPort::holder() const { return m_holder; }

bool HardwareSerialPort::deviceAnswers() const
{
    termios attributes{};
    return ::tcgetattr(m_port->handle(), &attributes) == 0;
}

// A broken line is told to the operator in German. The driver's words follow
// a failed write, whose failure they name; a broken read leaves them naming
// whatever failed last ("Unknown error", "File exists"), so they are left out.
bool HardwareSerialPort::writeFailed()
{
    // A write into a vanished device has told its reason already.
    if (m_port->isOpen())
        m_lastError = QStringLiteral("Fehler beim Schreiben (%1)").arg(m_port->errorString());
    return false;
}

void HardwareSerialPort::onError(int error)
{
    if (error == QSerialPort::NoError)
        return;
    if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) && m_port->isOpen()) {
        // Told of bytes and finding none, while the device is there: another
        // process (a terminal program, a modem manager) read them first.
        if (deviceAnswers()) {
            ++m_takenElsewhere;
            m_port->clearError();
            // After a read that found nothing the driver may stop watching
            // for bytes; the next ones must come all the same.
            m_port->setReadBufferSize(m_port->readBufferSize());
            emit bytesTakenElsewhere();
            return;
        }
        m_lastError = error == QSerialPort::ResourceError
                          ? QStringLiteral("Das Gerät ist nicht mehr erreichbar")
                          : QStringLiteral("Fehler beim Lesen");
        m_port->close();
        emit lineLost();
        return;
    }
    m_lastError = m_port->errorString();
}
