#pragma once
// The lock on a program folder's file "Nuvax.lock" that makes a process the
// folder's station. The file stays empty. Its rights follow the folder's: it
// can be read and written by those who may write the folder (the user who
// made it, the folder's group when that may write the folder, everybody when
// everybody may), by nobody else, so no other user can open it to hold a lock
// on it. A start sets these rights on a file it makes, and on one of its own
// (or, as root, on any) that stands there with others.
//
// The guard is an open file description's write lock on byte 0: no other
// descriptor of the station's process gives it back by closing, and the kernel
// gives it back with the process, however that ends. A lock of the open file
// tells no process; the kernel's table of each process's open files does.
#include "core/platform/descriptor.h"

#include <QString>
#include <sys/stat.h>

struct FolderLock
{
    enum State {
        Taken,    // this process holds it: fd
        Held,     // a station holds it
        NotTaken, // no lock can be had or seen here: problem says why, naming the file
    };
    State state = NotTaken;
    Descriptor fd;
    dev_t device = 0; // Taken, Held: the file
    ino_t inode = 0;
    QString problem;
};

// folder: the program folder, open as a directory; lockPath names its lock file in messages.
FolderLock lockFolder(int folder, const QString &lockPath);

// Whether the process holds the station's lock on the file.
bool holdsStationLock(long pid, dev_t device, ino_t inode);
// The process that holds it, among those this user may look into; 0 when none is seen.
long stationLockHolder(dev_t device, ino_t inode);
