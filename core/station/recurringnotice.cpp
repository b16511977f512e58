#include "core/station/recurringnotice.h"

#include "core/platform/clock.h"

RecurringNotice::RecurringNotice(const QString &key, Prompts::Icon icon, const QString &countLabel)
    : m_key(key), m_icon(icon), m_countLabel(countLabel)
{
}

void RecurringNotice::tell(const QString &text, const QString &title)
{
    if (!unattended()) {
        inform(text, title, m_icon);
        return;
    }
    if (!stands())
        m_count = 0;
    ++m_count;
    show(text, title, countFooter(), m_icon);
}

void RecurringNotice::note(const QString &text, const QString &title)
{
    m_count = 0;
    show(text, title, {}, m_icon);
}

void RecurringNotice::update(const QString &text, const QString &title, Prompts::Icon icon)
{
    if (!stands())
        return;
    m_count = 0;
    show(text, title, {}, icon);
}

void RecurringNotice::amend(const QString &text, const QString &title)
{
    if (stands())
        show(text, title, countFooter(), m_icon);
}

bool RecurringNotice::stands() const { return appPrompts().noticeStands(m_key); }

void RecurringNotice::show(const QString &text, const QString &title, const QString &footer, Prompts::Icon icon)
{
    const QString time = appClock().localNow().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    inform(text + QStringLiteral("\r\nZeitpunkt: ") + time + footer, title, icon, m_key);
}

// No count while the box tells a state that is no occurrence (note, update).
QString RecurringNotice::countFooter() const
{
    if (m_count == 0)
        return {};
    return QStringLiteral("\r\n\r\n") + m_countLabel + QStringLiteral(" seit dem Erscheinen dieser Meldung: ")
           + QString::number(m_count);
}
