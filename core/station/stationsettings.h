#pragma once
// The values the ini file fills and the running program reads: the port and its
// mode, the instance name, the schedules of the two automatic tests and the
// result signal. One instance for the whole run.
#include <QTime>
#include <QString>

// The kind of automatic test.
enum class TestArt { Pruefung = 0, Dauertest = 1 };

// ComMode
constexpr int kModeConverter = 0;
constexpr int kModeCable = 1;
constexpr int kModeBluetooth = 2;

struct TestSchedule
{
    bool aktiv = false;
    int intervall = 0;  // IntervalNames index: 0 yearly .. 3 daily
    int monat = 0;      // 0 = January
    int tag = 6;        // 0 = Monday
    QTime zeit;
};

struct StationSettings
{
    QString instanzname;

    int comPort = 1;          // 0-based; the port opened is comPort + 1
    int comMode = kModeConverter;
    bool bluetoothAktiv = false;
    bool portOk = false;      // the last opening of the port succeeded

    TestSchedule pruefung{false, 2, 0, 6, QTime(12, 0)};
    TestSchedule dauertest{false, 1, 0, 6, QTime(5, 0)};
    int akkulaufzeit = 0;     // hours: 0 not set, 1 or 3

    int signalAdr = 0;        // 0 none
    bool sigResultAktiv = false;

    // The port as the operator knows it: the first port is "COM1".
    QString comPortName() const { return QStringLiteral("COM") + QString::number(comPort + 1); }
};

StationSettings &settings();
