#pragma once
// core/files: the station's files apart from the units, the boards and the
// logs: this common reader and replacer, "Nuvax.ini" with its sections, and
// "Tasks.dat". Called at start, at exit and wherever a setting or task changes.
//
// Reading and replacing the station's data files ("Units.dat", "Tasks.dat",
// "Formulare.dat") in the program folder. A file is always replaced whole through
// a temporary file, so a crash or a full disk never leaves half of one behind.
// A file that could not be read to its end is kept as "<name>.defekt" before the
// next save writes over it: what could not be read is not lost. A later copy
// takes the next free name ("<name>.defekt2" ...), so no copy replaces another.
#include "core/platform/fileerror.h"

#include <QByteArray>
#include <QString>
#include <optional>

class RecurringNotice;

struct DataFileContent
{
    bool missing = false;
    QByteArray bytes;
    std::optional<FileError> error;
};

// Only a regular file is read: a pipe or a device in its place is a failure
// and is never opened, since reading it could wait for ever.
DataFileContent readDataFile(const QString &fileName);
// Before it writes, keeps a copy of a file whose last load stopped part-way.
std::optional<FileError> writeDataFile(const QString &fileName, const QByteArray &bytes);

// Tells the operator and the general log that a data file could not be read or
// written: the box holds the sentence, a line break and the description. A
// failure that timed work may repeat is told through its recurring notice.
void reportDataFileFailure(const QString &boxLine, const QString &boxTitle, const QString &logLine,
                           const FileError &error, RecurringNotice *recurring = nullptr);

// What the last load of a file found: its next save copies it aside when it failed.
void noteLoadFailed(const QString &fileName);
void noteLoadComplete(const QString &fileName);
void forgetLoadFailures();
