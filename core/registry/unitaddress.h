#pragma once
// A unit is a number inside the station (1..999 ordinary, 1000..1099 the special
// addresses "S00".."S99") and a three-character text on the bus and in lists.
#include <QString>

constexpr int kMaxUnitAddress = 2000;
constexpr int kFirstSpecialAddress = 1000;

QString formatUnitAddress(int addr);
QString formatUnitAddressHigh(int addr);
// -1 when the text is no address.
int parseUnitAddress(const QString &text);
QString formatTwoDigits(int n);
// An address that indexes the registry.
inline bool isRegistryAddress(int addr) { return addr >= 1 && addr <= kMaxUnitAddress; }
