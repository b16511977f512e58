#include "core/platform/oledate.h"

#include <cmath>

namespace oledate {
namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kSecondsPerDay = 86400;

// The whole days of a reading, counted down for readings before the epoch.
qint64 daysOf(qint64 seconds)
{
    return seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
}
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

double fromWallSeconds(qint64 seconds)
{
    const qint64 days = daysOf(seconds);
    const double fraction = double(seconds - days * kSecondsPerDay) / kSecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime toDateTime(double value)
{
    const qint64 seconds = wallSeconds(value);
    const qint64 days = daysOf(seconds);
    return QDateTime(kEpoch.addDays(days), QTime(0, 0).addSecs(static_cast<int>(seconds - days * kSecondsPerDay)));
}

} // namespace oledate
