#pragma once
// How a log entry reaches its file under "logs/", and what becomes of one that
// cannot (a full disk, a folder without write rights, a path too long): it is
// kept, in order, with the file's other kept entries, and the first write that
// succeeds again writes them into the file they were meant for before
// anything newer. The operator is told at once in one standing box; the
// general log later says from when to when the file could not be written.
// What is kept is bounded; what the bound turns away is counted there.
#include "core/platform/fileerror.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The general log takes each entry at its top; a test log at its end.
enum class LogOrder { NewestFirst, Appended };

// Writes the bytes of one entry into "logs/<fileName>" after what is kept of
// every file. Why the entry could not be written now, when it is kept.
std::optional<FileError> writeLogEntry(const QString &fileName, LogOrder order, const QByteArray &bytes);

// Tries once more to write what is kept (the station's orderly end).
void writeKeptLogEntries();

// Drops what is kept, unwritten: a test's fresh program folder.
void forgetKeptLogEntries();
