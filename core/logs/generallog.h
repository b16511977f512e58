#pragma once
// core/logs: the general log (here), the daily test logs (testlog.h) and the
// logbook page's list and colours (logbook.h). Written by every subsystem;
// read by the logbook page.
//
// The general log "logs/Allgemein.log": one entry per event, newest first.
#include "core/platform/fileerror.h"

#include <QString>

inline const QString kGeneralLogName = QStringLiteral("Allgemein.log");

// Adds one entry and refreshes the list of logs. False when the log could not
// be written now; the caller goes on either way, the entry goes to standard
// error and is kept until the log can be written (keptentries.h).
bool logAllgemein(const QString &text);

// An entry as the log holds it: the time now, the text and CR LF, in the code page.
QByteArray generalLogEntry(const QString &text);

// A log that could not be written: its name, the number and description of the
// failure and the kept text go to standard error, which the operator may read
// before the log is written again.
void reportUnwrittenLog(const QString &fileName, const FileError &error, const QString &text);

// While one is alive every entry also goes to standard error: the station is
// ending on a signal, and nobody reads its boxes.
class LogToStandardError
{
public:
    LogToStandardError();
    ~LogToStandardError();
    LogToStandardError(const LogToStandardError &) = delete;
    LogToStandardError &operator=(const LogToStandardError &) = delete;
};
