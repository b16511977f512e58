#include "core/platform/oledate.h"

#include <cmath>

namespace oledate {
namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kSecondsPerDay = 86400;
} // namespace

QDateTime zero() { return QDateTime(kEpoch, QTime(0, 0)); }

double fromDateTime(const QDateTime &dt)
{
    const qint64 days = kEpoch.daysTo(dt.date());
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the epoch the whole part counts backwards but the time still counts forwards.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime toDateTime(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return zero();
    const double whole = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    qint64 days = static_cast<qint64>(whole);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        days += value < 0 ? -1 : 1;
    }
    return QDateTime(kEpoch.addDays(days), QTime(0, 0).addSecs(static_cast<int>(seconds)));
}

} // namespace oledate
