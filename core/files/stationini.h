#pragma once
// "Nuvax.ini" in the program folder: the text forms of its values and the two
// calls every section goes through.
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

QString iniPath();

// Reads a key (at most 1023 characters), cut at a NUL and trimmed of blanks.
QString readIni(const QString &section, const QString &key, const QString &defaultValue);

// Writes a key; 0 when it failed, which leaves a warning in the general log,
// once until the file takes a write again.
int writeIni(const QString &section, const QString &key, const QString &value);
int writeIni(const QString &section, const QString &key, const char *value);
int writeIni(const QString &section, const QString &key, bool value);
int writeIni(const QString &section, const QString &key, int value);
int writeIni(const QString &section, const QString &key, const QTime &value);
int writeIni(const QString &section, const QString &key, const QDateTime &value);

// Writes a key without the warning: the callers that judge the result themselves.
int writeIniDirect(const QString &section, const QString &key, const QString &value);

// Why the last write failed: "Datenträger voll" for a full disk, empty for any
// other failure and after a write that succeeded.
QString iniWriteFailure();

// Shown when the configuration cannot be written; the values in memory stay.
void showWriteRightsBox();

namespace initext {

// "12:00:00"
QString timeText(const QTime &time);
// "dd.MM.yyyy HH:mm:ss"; the zero date-time ("never") as "0".
QString dateTimeText(const QDateTime &dateTime);
// "H:mm" or "H:mm:ss" with an hour 0..23; nothing for any other text.
std::optional<QTime> parseTime(const QString &text);
// The forms dateTimeText writes, a date alone, a time alone and ISO forms;
// the zero date-time for any other text.
QDateTime parseDateTime(const QString &text);

} // namespace initext
