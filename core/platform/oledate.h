#pragma once
// Date-time values stored in the station's files and schedules: days since
// 30.12.1899 as a double, the fraction being the time of day.
//
// A stored value is a reading of the wall clock, not a moment: it names the
// date and time as the clock showed them, in whatever zone was in force. Its
// arithmetic therefore runs on wall seconds, the readings counted from the
// epoch, where a reading the local zone skips or repeats counts like any other.
#include <QDateTime>

namespace oledate {

double fromDateTime(const QDateTime &dt);
// Rounded to the nearest second, as every reader of a stored value expects.
QDateTime toDateTime(double value);
// The zero value 30.12.1899 00:00:00 means "never".
QDateTime zero();

// The reading of the date-time's own date and time, in whole seconds.
qint64 wallSeconds(const QDateTime &dt);
// The reading of a stored value, rounded as toDateTime rounds it.
qint64 wallSeconds(double value);
double fromWallSeconds(qint64 seconds);
// The local date-time of a reading; invalid where the zone skips it.
QDateTime dateTimeOfWallSeconds(qint64 seconds);
// The minute a reading falls in, counted from the epoch like the seconds.
qint64 wallMinute(qint64 seconds);

} // namespace oledate
