#pragma once
// The lock file the serial port driver (QSerialPort) keeps for a device while a
// process has it open: "LCK..ttyS0" in the system's lock folder, the process
// number on its first line. It tells who holds a port the station cannot open.
#include <QString>

struct PortHolder
{
    // The process named by the device's lock file; 0 when there is none.
    qint64 pid = 0;
    // The lock file, when that process has ended: an opening it still stops
    // found it not removable, so somebody must remove it.
    QString staleLockFile;
};

// The lock file the driver takes for the device: named after the device's
// path below /dev ("/dev/pts/3" gives "LCK..pts_3"), in the first folder of
// the driver's list that can be read and that holds the file or can be written.
QString portLockFile(const QString &devicePath);

// Whose lock the file is; none when the file is missing or names no process.
PortHolder lockHolder(const QString &lockFile);
