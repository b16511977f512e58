#pragma once
// One write of log bytes into "logs/<fileName>", and why it failed. Called by
// the store of kept entries (keptentries.h), which every log entry goes through.
#include "core/platform/fileerror.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The general log takes each entry at its top; a test log at its end.
enum class LogOrder { NewestFirst, Appended };

// A write at the top rewrites the whole file through a copy, so it needs room
// for the file and the new bytes; a write at the end only for the bytes. A
// full disk that still has some room is named with the room needed and there.
// With untilRoom, a file is not even tried while the disk has less room than
// it needs: a copy that fills the disk is thrown away again.
std::optional<FileError> writeLogFile(const QString &fileName, LogOrder order, const QByteArray &bytes,
                                      bool untilRoom = false);
