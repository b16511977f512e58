#include "core/registry/unitregistry.h"

#include "core/platform/textutil.h"
#include "core/registry/systemstatus.h"
#include "core/registry/unitaddress.h"
#include "core/station/stationview.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The header's type code (characters 6 to 9), empty when the header does not
// have the form "?##??#######".
QString typeCodeOf(const QString &frame)
{
    if (frame.size() < kFrameWidth)
        return {};
    for (int i = 0; i < kFrameWidth; ++i) {
        const bool anyCharacter = i == 0 || i == 3 || i == 4;
        const QChar c = frame.at(i);
        if (!anyCharacter && !(c >= u'0' && c <= u'9'))
            return {};
    }
    return frame.mid(5, 4);
}

void clearRecord(UnitRecord &record)
{
    record.exists = false;
    record.description = fixedWidth({}, kDescriptionWidth);
    record.frame = fixedWidth({}, kFrameWidth);
    record.errorText = fixedWidth({}, kErrorTextWidth);
    record.state = kStateUnknown;
}

QString stateText(int state)
{
    switch (state) {
    case kStateFault: return QStringLiteral("Fehler");
    case kStateOk: return QStringLiteral("OK");
    default: return QStringLiteral("n.a.");
    }
}

QString trimSpaces(QString text)
{
    qsizetype begin = 0;
    while (begin < text.size() && text.at(begin) == u' ')
        ++begin;
    qsizetype end = text.size();
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

UnitRegistry &units()
{
    static UnitRegistry instance;
    return instance;
}

QString fixedWidth(const QString &text, int width)
{
    // A double quote would end the value early in "Units.dat" and lose every later record.
    QString fitted = text.left(width);
    fitted.replace(u'"', u'\'');
    if (fitted.size() < width)
        fitted.append(QString(width - fitted.size(), u' '));
    return fitted;
}

int addUnit(int addr, const QString &frame)
{
    if (!isRegistryAddress(addr))
        return -1;
    UnitRecord &record = units().at(addr);
    record.exists = true;
    record.frame = fixedWidth(frame, kFrameWidth);
    record.state = kStateUnknown;
    record.errorText = fixedWidth({}, kErrorTextWidth);
    return 0;
}

int deleteUnit(int addr)
{
    if (!isRegistryAddress(addr))
        return -1;
    clearRecord(units().at(addr));
    updateSystemStatus();
    return 0;
}

void clearAllUnits()
{
    for (int addr = 1; addr <= kMaxUnitAddress; ++addr)
        clearRecord(units().at(addr));
    updateSystemStatus();
}

bool unitExists(int addr)
{
    return !isRegistryAddress(addr) || units().at(addr).exists;
}

void fillUnitList()
{
    QList<UnitListRow> rows;
    for (int addr = 1; addr <= kMaxUnitAddress; ++addr) {
        const UnitRecord &record = units().at(addr);
        if (!record.exists)
            continue;
        UnitListRow row;
        row.state = record.state;
        row.stateText = stateText(record.state);
        row.address = formatUnitAddress(addr);
        row.frame = record.frame;
        row.description = getUnitDescription(addr, 1);
        row.fault = record.state == kStateFault;
        rows.append(row);
    }
    appView().showUnitList(rows);
}

int getDescriptionPartCount(int addr)
{
    if (!isRegistryAddress(addr))
        return 1;
    const QString code = typeCodeOf(units().at(addr).frame);
    if (code == u"2001")
        return 2;
    if (code == u"0403" || code == u"0404")
        return 4;
    return 1;
}

QString getUnitDescription(int addr, int part)
{
    if (!isRegistryAddress(addr))
        return {};
    const int count = getDescriptionPartCount(addr);
    const int length = kDescriptionWidth / count;
    const int slot = qBound(1, part, count);
    // Spaces go first, so padding in front of a NUL stays with the text.
    return trimNull(trimSpaces(units().at(addr).description.mid((slot - 1) * length, length)));
}

int countUnits(bool onlyNormal)
{
    const int last = onlyNormal ? kFirstSpecialAddress - 1 : kMaxUnitAddress;
    int count = 0;
    for (int addr = 1; addr <= last; ++addr)
        count += units().at(addr).exists ? 1 : 0;
    return count;
}

QString trimTrailingCrLf(const QString &text)
{
    QString t = trimSpaces(trimTabs(text));
    while (t.endsWith(kCrLf))
        t.chop(2);
    return t;
}

QString getUnitErrorText(int addr)
{
    if (!isRegistryAddress(addr))
        return QStringLiteral("Kein Fehlerstatus bekannt");
    const QString text = trimTrailingCrLf(trimNull(units().at(addr).errorText));
    QString result;
    if (!text.isEmpty()) {
        for (const QString &piece : text.split(kCrLf))
            result += trimTrailingCrLf(piece) + kCrLf;
    }
    return result.isEmpty() ? QStringLiteral("Kein Fehlerstatus bekannt") : result;
}

void resetUnitErrorState()
{
    const int addr = appView().selectedUnitAddress();
    if (addr > 0 && isRegistryAddress(addr))
        units().at(addr).state = kStateOk;
    // Like every other change of unit states, this one reaches the traffic light.
    updateSystemStatus();
    fillUnitList();
    if (addr > 0)
        appView().selectUnitRow(formatUnitAddress(addr));
}

SystemStatus computeSystemStatus()
{
    bool unknown = false;
    // Special addresses are no lights of the installation and never count here.
    for (int addr = 1; addr <= 999; ++addr) {
        const UnitRecord &unit = units().at(addr);
        if (!unit.exists)
            continue;
        if (unit.state == kStateFault)
            return SystemStatus::Fault;
        if (unit.state == kStateUnknown)
            unknown = true;
    }
    return unknown ? SystemStatus::Unknown : SystemStatus::Ok;
}

void updateSystemStatus() { showSystemStatus(computeSystemStatus()); }
