#include "device/pages/pagevalues.h"

#include "core/platform/clock.h"
#include "core/platform/numbertext.h"
#include "core/registry/unitregistry.h"
#include "device/messages/messageheader.h"
#include "device/pages/statuspages.h"

QChar MessageFields::at(int pos) const
{
    return pos >= 1 && pos <= m_message.size() ? m_message.at(pos - 1) : QChar();
}

QString MessageFields::text(int pos, int count) const
{
    return pos >= 1 ? m_message.mid(pos - 1, count) : QString();
}

QString MessageFields::flag(int pos, QChar expected, const QString &ifEqual,
                            const QString &otherwise) const
{
    return at(pos) == expected ? ifEqual : otherwise;
}

qint64 MessageFields::numberValue(int pos, int count) const
{
    return numbertext::leadingInt(text(pos, count));
}

QString MessageFields::number(int pos, int count) const
{
    return QString::number(numberValue(pos, count));
}

QString MessageFields::duration(int pos) const
{
    return text(pos, 2) + u':' + text(pos + 2, 2) + u'.' + text(pos + 4, 2);
}

QString MessageFields::version(int pos) const { return text(pos, 1) + u'.' + text(pos + 1, 1); }

QString MessageFields::date(int pos) const
{
    return text(pos, 2) + u'.' + text(pos + 2, 2) + u'.' + text(pos + 4, 2);
}

QString MessageFields::timeOfDay(int pos) const { return text(pos, 2) + u':' + text(pos + 2, 2); }

QString MessageFields::dateAndTime(int datePos, int timePos) const
{
    return date(datePos) + u' ' + timeOfDay(timePos);
}

QString MessageFields::lookup(int pos, const QStringList &table) const
{
    const QChar c = at(pos);
    const int index = c.isDigit() ? c.digitValue() : -1;
    return index >= 0 && index < table.size() ? table.at(index) : QString();
}

QString escapePageText(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (c.isNull())
            continue; // a field never written holds NULs, which no page may carry
        else
            out += c;
    }
    return out;
}

QString fillPageSlots(const QString &pageTemplate, const QStringList &values)
{
    QString page;
    page.reserve(pageTemplate.size() + values.size() * 16);
    qsizetype from = 0;
    qsizetype next = 0;
    for (;;) {
        const qsizetype slot = pageTemplate.indexOf(kPageSlot, from);
        if (slot < 0)
            break;
        page += QStringView(pageTemplate).mid(from, slot - from);
        page += next < values.size() ? escapePageText(values.at(next++)) : kPageSlot;
        from = slot + kPageSlot.size();
    }
    page += QStringView(pageTemplate).mid(from);
    Q_ASSERT(next == values.size());
    return page;
}

QString fillStatusPage(const QString &pageTemplate, const QString &message,
                       const QStringList &typeValues)
{
    const QString address = message.left(3);
    // The unit is the one the answer names, a special address ("S" and two digits) too.
    const int unit = senderAddress(message);
    const bool known = unit > 0;

    QStringList values;
    values.reserve(typeValues.size() + 4);
    values << address << (known ? getUnitDescription(unit, 1) : QString());
    values << typeValues;
    values << (known ? getUnitErrorText(unit) : QStringLiteral("Kein Fehlerstatus bekannt"));
    values << appClock().localNow().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return fillPageSlots(pageTemplate, values);
}
