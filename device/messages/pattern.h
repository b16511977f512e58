#pragma once
// The one pattern notation of the station, used for message grammars and log
// colouring alike:
//   ?      any one character
//   #      one digit 0-9
//   [...]  one character of the list; "a-z" inside is a range, while a "-"
//          first or last in the list stands for itself
//   *      any run of characters, also none
//   other  the character itself
// The match is case-sensitive and covers the whole text.
#include <QStringView>

bool matchesPattern(QStringView text, QStringView pattern);
