#pragma once
// core/logs: the general log (here), the daily test logs (testlog.h) and the
// logbook page's list and colours (logbook.h). Written by every subsystem;
// read by the logbook page.
//
// The general log "logs/Allgemein.log": one entry per event, newest first.
// Every rewrite copies the whole log, and when the mains fail every unit
// reports at once: so the entries that come within a short moment of each
// other go into the file in one rewrite, each with the time it was made,
// newest first, byte for byte as one rewrite each would have put them.
#include "core/platform/fileerror.h"

#include <QString>

inline const QString kGeneralLogName = QStringLiteral("Allgemein.log");

// Adds one entry, stamped now. It is written within a short moment, together
// with those that come meanwhile, and the list of logs is refreshed then.
void logAllgemein(const QString &text);

// Writes the entries that wait for their moment now: before the log is read
// and before the kept entries are tried again. False when the log could not
// be written; the entries then go to standard error and are kept until it
// can (keptentries.h).
bool flushGeneralLog();

// An entry as the log holds it: the time now, the text and CR LF, in the code page.
QByteArray generalLogEntry(const QString &text);

// A log that could not be written: its name, the number and description of the
// failure and the kept text go to standard error, which the operator may read
// before the log is written again.
void reportUnwrittenLog(const QString &fileName, const FileError &error, const QString &text);

// While one is alive every entry is written at once and also goes to
// standard error: the station is ending on a signal, and nobody reads its boxes.
class LogToStandardError
{
public:
    LogToStandardError();
    ~LogToStandardError();
    LogToStandardError(const LogToStandardError &) = delete;
    LogToStandardError &operator=(const LogToStandardError &) = delete;
};
