#pragma once
// File failures as the operator knows them from the station's error boxes: a
// number and a German description.
#include <QString>

class QFileDevice;

struct FileError
{
    int number = 0;
    QString description;

    static FileError overflow();          // 6
    static FileError outOfRange();        // 9
    static FileError typeMismatch();      // 13
    static FileError diskFull();          // 61
    static FileError pastEndOfFile();     // 62
    static FileError accessDenied();      // 70
    static FileError pathAccess();        // 75
    static FileError pathTooLong();       // 75, named for what the system said
    // A disk that still has room, but less than a file needs: both named, as
    // the operator who looks at the free space sees room.
    static FileError lackOfRoom(qint64 needed, qint64 available);  // 61

    // What the system reported (an errno value).
    static FileError fromErrno(int error);
    // Why a file could not be opened or replaced, as Qt reported it.
    static FileError of(const QFileDevice &file);

    bool isDiskFull() const;
};
