#pragma once
// The station's one serial port, seen through the few operations the bus needs.
// The real port is QSerialPort; tests put a simulated bus behind the same face.
#include "device/link/portlock.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the device with 8 data bits, no parity, one stop bit and no flow control.
    virtual bool open(const QString &path, int baud) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Hands every byte to the driver before returning; false when that failed.
    virtual bool write(const QByteArray &bytes) = 0;
    // Everything received and not read yet.
    virtual QByteArray readAll() = 0;
    virtual qint64 bytesAvailable() const = 0;
    // Bytes have come that are not read yet, those still with the driver
    // included. A port that holds none has had a quiet line since its last read.
    virtual bool holdsUnread() const = 0;
    // Blocks until new bytes arrive or ms pass, running no other event; true when
    // bytes arrived. readyRead may be emitted from inside.
    virtual bool waitForReadyRead(int ms) = 0;
    // The driver's description of the latest failure, shown to the operator.
    virtual QString errorString() const = 0;
    // When the latest opening failed because another process holds the
    // device: that process. None otherwise.
    virtual PortHolder holder() const = 0;

signals:
    // New bytes arrived. Never emitted again while a slot of this signal runs.
    void readyRead();
    // The open line broke (adapter unplugged, line hung up). The port is closed
    // already: without that the driver reports the same error in a busy loop.
    void lineLost();
    // Bytes were announced but another process had read them first: the
    // device is still there and the port stays open.
    void bytesTakenElsewhere();
};

// The device of port number n (1-based): the one named by NUVAX_COM<n>, else /dev/ttyS(n-1).
QString serialPortPath(int portNumber);

// The real port.
class QSerialPort;
class HardwareSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit HardwareSerialPort(QObject *parent = nullptr);
    ~HardwareSerialPort() override;

    bool open(const QString &path, int baud) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override;
    bool holdsUnread() const override;
    bool waitForReadyRead(int ms) override;
    QString errorString() const override;
    PortHolder holder() const override;

private:
    bool writeFailed();
    void onError(int error);
    // The open device still answers a terminal query: it has not gone.
    bool deviceAnswers() const;

    QSerialPort *m_port;
    QString m_lastError;
    PortHolder m_holder;
    // How often another process read what the port announced.
    int m_takenElsewhere = 0;
};
