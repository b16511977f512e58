#include "core/board/labellist.h"

#include "core/platform/numbertext.h"
#include "core/registry/unitaddress.h"

#include <QSet>
#include <algorithm>

namespace {

QString entryText(const QString &entry) { return entry.section(u';', 0, 0); }

QString joinEntries(const QStringList &entries)
{
    QString list;
    for (const QString &entry : entries)
        list += entry + u'|';
    return list;
}

} // namespace

QStringList labelEntries(const QString &list)
{
    QStringList pieces = list.split(u'|');
    pieces.removeLast();
    return pieces;
}

LabelEntry parseLabelEntry(const QString &entry)
{
    const QStringList fields = entry.split(u';');
    auto position = [&fields](int i) {
        return i < fields.size() ? numbertext::leadingInt(fields[i]) : 0;
    };
    return {fields[0], position(1), position(2)};
}

int labelCount(const QString &list) { return int(list.count(u'|')); }

QString withLabelPosition(const QString &list, int address, int x, int y)
{
    const QString text = formatUnitAddress(address);
    const QString entry = QStringLiteral("%1;%2;%3").arg(text).arg(x).arg(y);
    QStringList entries = labelEntries(list);
    const auto old = std::find_if(entries.begin(), entries.end(),
                                  [&text](const QString &piece) { return entryText(piece) == text; });
    if (old != entries.end())
        *old = entry;
    else
        // Behind the last "|": an unfinished entry would swallow the new one.
        entries.append(entry);
    return joinEntries(entries);
}

QString withoutLabel(const QString &list, int address)
{
    const QString text = formatUnitAddress(address);
    QStringList entries = labelEntries(list);
    entries.removeIf([&text](const QString &entry) { return entryText(entry) == text; });
    return joinEntries(entries);
}

bool listHoldsAddress(const QString &list, int address)
{
    const QString text = formatUnitAddress(address);
    const QStringList entries = labelEntries(list);
    return std::any_of(entries.begin(), entries.end(),
                       [&text](const QString &entry) { return entryText(entry) == text; });
}

bool isBoardAddress(int address)
{
    return (address >= 1 && address <= 999) || (address >= 1001 && address <= 1099);
}

int labelAddress(const QString &text)
{
    const int address = parseUnitAddress(text);
    // "12", "0012" or "s05" would never match the exact text of their address again.
    return isBoardAddress(address) && formatUnitAddress(address) == text ? address : -1;
}

LabelPlan planLabels(const QString &list)
{
    LabelPlan plan;
    QSet<int> seen;
    for (const QString &piece : labelEntries(list)) {
        const LabelEntry entry = parseLabelEntry(piece);
        const int address = labelAddress(entry.text);
        if (address < 0)
            plan.notAddresses.append(entry.text);
        else if (seen.contains(address))
            plan.repeated.append(entry.text);
        else {
            seen.insert(address);
            plan.placed.append({address, entry});
        }
    }
    return plan;
}
