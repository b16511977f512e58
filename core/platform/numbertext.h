#pragma once
// How the station reads numbers and truth values out of texts it did not write
// itself (ini values, list texts, text boxes).
#include <QString>
#include <optional>

namespace numbertext {

// The value of the longest leading part that reads as a decimal number,
// leading blanks skipped; 0 when there is none.
double leadingNumber(const QString &text);
// Whole numbers are formed by rounding half to even.
qint64 roundHalfEven(double value);
// leadingNumber then roundHalfEven, clamped into the 32-bit range.
int leadingInt(const QString &text);
// A number is true when nonzero; the words True and False (or Wahr and
// Falsch, as a German system writes them) in any case.
// Blanks around are ignored. Anything else gives no value.
std::optional<bool> readBoolean(const QString &text);
// The word a Boolean is written as.
QString booleanWord(bool value);

} // namespace numbertext
