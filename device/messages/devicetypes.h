#pragma once
// The thirteen device types. A message's four-digit type code selects one, and
// every per-type operation (grammar, evaluation, description, status page) is
// chosen by its number 1..13; 0 stands for an invalid header or an unknown code.
#include <QString>

constexpr int kType0203 = 1;
constexpr int kType0204 = 2;
constexpr int kType2001 = 3;
constexpr int kType0404 = 4;
constexpr int kType0403 = 5;
constexpr int kType0701 = 6;
constexpr int kType0401 = 7;
constexpr int kType0402 = 8;
constexpr int kType0901 = 9;
constexpr int kType0501 = 10;
constexpr int kType1000 = 11;
constexpr int kType2002 = 12;
constexpr int kType0601 = 13;
constexpr int kDeviceTypeCount = 13;

// Characters 6-9 when the header is valid, else "".
QString getTypeCodeString(const QString &message);
// The device type of the message's header, 0 when invalid or unknown.
int getDeviceTypeCode(const QString &message);
// The display name of the message's device type, or "Unbekanntes Protokoll"
// for an invalid header, "Ungültiger Gerätetyp" for an unknown type code.
QString getDeviceTypeName(const QString &message);

// The device type of a bare four-digit type code, 0 when not in the table.
int getDeviceType(const QString &typeCode);
// Type code and display name of a device type 1..13; "" outside.
QString deviceTypeCodeOf(int deviceType);
QString deviceTypeNameOf(int deviceType);
