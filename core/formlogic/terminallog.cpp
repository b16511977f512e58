#include "core/formlogic/terminallog.h"

#include <algorithm>

namespace {

void appendRun(QList<EchoRun> &runs, QStringView text, WinColor color)
{
    if (runs.isEmpty() || runs.last().color != color)
        runs.append({QString(), color});
    runs.last().text += text;
}

} // namespace

void TerminalLog::add(int direction, const QString &text, bool markText)
{
    for (const EchoRun &run : terminalRuns(direction, text, markText)) {
        for (qsizetype from = 0; from < run.text.size();) {
            const qsizetype take = std::min(run.text.size() - from, kMaxLength + 1 - m_length);
            const QStringView piece = QStringView(run.text).mid(from, take);
            appendRun(m_runs, piece, run.color);
            appendRun(m_change.added, piece, run.color);
            m_length += take;
            from += take;
            if (m_length > kMaxLength)
                clear();
        }
    }
}

void TerminalLog::clear()
{
    m_runs.clear();
    m_length = 0;
    m_change = {true, {}};
}

TerminalLog::Change TerminalLog::takeChange() { return std::exchange(m_change, {}); }
