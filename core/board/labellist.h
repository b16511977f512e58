#pragma once
// A board's label list, one entry per placed unit: its bus address, ";", the
// label's left edge, ";", its top edge and "|", e.g. "012;140;85|S05;300;12|".
// Entries are found by exact comparison of their address text; the order of the
// others never changes.
#include <QList>
#include <QString>

struct LabelEntry
{
    QString text;   // the address as stored
    int x = 0;
    int y = 0;
};

// The entries before the last "|"; an entry without its "|" is not one.
QStringList labelEntries(const QString &list);
LabelEntry parseLabelEntry(const QString &entry);
// The number of labels: the number of "|".
int labelCount(const QString &list);
// The address's entry rewritten in place, or appended when it has none.
QString withLabelPosition(const QString &list, int address, int x, int y);
QString withoutLabel(const QString &list, int address);
bool listHoldsAddress(const QString &list, int address);

// The addresses a board holds: those whose bus text is exact (1..999, S01..S99).
bool isBoardAddress(int address);
// The address an entry stands for; -1 when its text is no board address.
int labelAddress(const QString &text);

// What opening a list places, and what it skips: entries that are no address
// or that repeat an address placed before.
struct LabelPlan
{
    QList<std::pair<int, LabelEntry>> placed;
    QStringList notAddresses;
    QStringList repeated;
};
LabelPlan planLabels(const QString &list);
