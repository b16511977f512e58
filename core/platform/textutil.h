#pragma once
// Small text helpers for values read out of fixed-width fields and files.
#include <QString>

// The text up to, not including, its first NUL; unchanged when it holds none.
QString trimNull(const QString &s);
// Removes tabs at the start, then at the end; every other character stays.
QString trimTabs(const QString &s);
