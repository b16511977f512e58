#include "core/platform/oledate.h"

#include <cmath>

namespace oledate {
namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kSecondsPerDay = 86400;

// Whole units of a reading, counted down for readings before the epoch.
qint64 floorDiv(qint64 seconds, qint64 unit) { return seconds >= 0 ? seconds / unit : -((-seconds + unit - 1) / unit); }
} // namespace

QDateTime zero() { return QDateTime(kEpoch, QTime(0, 0)); }

double fromDateTime(const QDateTime &dt)
{
    const qint64 days = kEpoch.daysTo(dt.date());
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the epoch the whole part counts backwards but the time still counts forwards.
    return days >= 0 ? days + fraction : days - fraction;
}

qint64 wallSeconds(const QDateTime &dt)
{
    return kEpoch.daysTo(dt.date()) * kSecondsPerDay + dt.time().msecsSinceStartOfDay() / 1000;
}

qint64 wallSeconds(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return 0;
    const double whole = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    qint64 days = static_cast<qint64>(whole);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        days += value < 0 ? -1 : 1;
    }
    return days * kSecondsPerDay + seconds;
}

qint64 wallMinute(qint64 seconds) { return floorDiv(seconds, 60); }

double fromWallSeconds(qint64 seconds)
{
    const qint64 days = floorDiv(seconds, kSecondsPerDay);
    const double fraction = double(seconds - days * kSecondsPerDay) / kSecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime dateTimeOfWallSeconds(qint64 seconds)
{
    const qint64 days = floorDiv(seconds, kSecondsPerDay);
    return QDateTime(kEpoch.addDays(days), QTime(0, 0).addSecs(static_cast<int>(seconds - days * kSecondsPerDay)));
}

QDateTime toDateTime(double value) { return dateTimeOfWallSeconds(wallSeconds(value)); }

} // namespace oledate
