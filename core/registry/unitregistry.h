#pragma once
// core/registry: the units. The registry below, "Units.dat" (unitsfile.h),
// addresses and their bus text (unitaddress.h), the description's parts
// (unitdescription.h) and the traffic light's texts (systemstatus.h). Called by
// the polls, the search, the status query, the pages and the board.
//
// The unit registry: one record per unit address 1..2000, loaded from and saved
// to "Units.dat". It lives for the whole run; every subsystem reads and writes
// it through the functions below.
#include "core/station/stationview.h"

#include <QString>
#include <array>

// UnitState
constexpr int kStateUnknown = 0;
constexpr int kStateFault = 1;
constexpr int kStateOk = 2;

constexpr int kFrameWidth = 12;
constexpr int kDescriptionWidth = 1200;
constexpr int kErrorTextWidth = 1024;

// A never-assigned text of the given width. Every empty record shares it until
// one of its texts is assigned: emptying the registry fills 2000 records.
template <int Width>
const QString &unassignedText()
{
    static const QString text(Width, QChar(0));
    return text;
}

struct UnitRecord
{
    bool exists = false;
    // Fixed-width texts: padded with spaces, cut at the width; never assigned = all NUL.
    QString frame = unassignedText<kFrameWidth>();
    QString description = unassignedText<kDescriptionWidth>();
    QString errorText = unassignedText<kErrorTextWidth>();
    qint32 state = kStateUnknown;
};

class UnitRegistry
{
public:
    // Index 0 holds no unit; indices are unit addresses.
    UnitRecord &at(int addr) { return m_units.at(static_cast<size_t>(addr)); }
    const UnitRecord &at(int addr) const { return m_units.at(static_cast<size_t>(addr)); }
    void clear() { m_units = {}; }

private:
    std::array<UnitRecord, 2001> m_units;
};

UnitRegistry &units();

// Puts a text into a fixed-width field: padded with spaces or cut, '"' stored as '\''.
QString fixedWidth(const QString &text, int width);

int addUnit(int addr, const QString &frame);
int deleteUnit(int addr);
// Empties the registry in memory; deleteAllUnits() also saves it.
void clearAllUnits();
bool unitExists(int addr);
void fillUnitList();
int getDescriptionPartCount(int addr);
QString getUnitDescription(int addr, int part);
int countUnits(bool onlyNormal);
QString trimTrailingCrLf(const QString &text);
QString getUnitErrorText(int addr);
void resetUnitErrorState();
// The traffic light: fault as soon as one registered unit 1..999 is faulty;
// unknown when one of them is untested; OK otherwise, an empty registry included.
SystemStatus computeSystemStatus();
void updateSystemStatus();
