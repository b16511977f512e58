#pragma once
// Date-time values stored in the station's files and schedules: days since
// 30.12.1899 as a double, the fraction being the time of day.
#include <QDateTime>

namespace oledate {

double fromDateTime(const QDateTime &dt);
// Rounded to the nearest second, as every reader of a stored value expects.
QDateTime toDateTime(double value);
// The zero value 30.12.1899 00:00:00 means "never".
QDateTime zero();

} // namespace oledate
