#pragma once
// How the fields of a status message become the values of its status page,
// and how the values go into the page's slots.
#include <QString>
#include <QStringList>

// The fields of one status message, by their 1-based positions. A field past
// the end of the message reads as empty, so a short message never reads
// beyond its end.
class MessageFields
{
public:
    explicit MessageFields(const QString &message) : m_message(message) {}

    QChar at(int pos) const;
    QString text(int pos, int count) const;

    // The first text when the character at pos is `expected`, else the second.
    QString flag(int pos, QChar expected, const QString &ifEqual, const QString &otherwise) const;
    // Digits read as a number and written without leading zeros ("007" gives "7").
    QString number(int pos, int count) const;
    qint64 numberValue(int pos, int count) const;
    // Six characters hhmmss as "hh:mm.ss".
    QString duration(int pos) const;
    // Two single characters as "x.y".
    QString version(int pos) const;
    // Three two-character groups as "DD.MM.YY".
    QString date(int pos) const;
    // Two two-character groups as "hh:mm".
    QString timeOfDay(int pos) const;
    // "DD.MM.YY hh:mm" from a date and a time that stand apart.
    QString dateAndTime(int datePos, int timePos) const;
    // The entry the digit at pos selects; empty when there is none.
    QString lookup(int pos, const QStringList &table) const;

private:
    QString m_message;
};

// "&", "<" and ">" as entities, so that no value can change the page around it;
// NUL characters are left out.
QString escapePageText(const QString &value);

// Puts the values, escaped, into the slots of the template in one pass from
// the left: a value that itself holds the slot text stays as it is.
QString fillPageSlots(const QString &pageTemplate, const QStringList &values);

// The whole page of one message: the unit's address and description first,
// then the type's values, then the fault history of the last automatic test
// and the time the page was made.
QString fillStatusPage(const QString &pageTemplate, const QString &message,
                       const QStringList &typeValues);
