#pragma once
// The address field of the expert panel: what the installer typed, in the form
// the bus knows ("5" is "005", "s7" is "S07"), and the steps of "+" and "-".
#include <QString>

inline const QString kAllUnits = QStringLiteral("ALL");

// The address in bus form, "ALL" for every unit, or "" when the text is no
// address the panel may send to (0, "000", "G01", "12a", "S1A", empty).
QString normalizeExpertAddress(const QString &typed);
// One step up (+1) or down (-1) from an address in bus form, stopping at 001
// and 999, at S01 and S99; "" for "ALL" or anything else that cannot step.
QString stepExpertAddress(const QString &address, int step);
