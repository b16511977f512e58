#include "core/files/valuereader.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

bool ValueReader::atEnd() const
{
    for (qsizetype i = m_pos; i < m_bytes.size(); ++i) {
        const char c = m_bytes.at(i);
        if (!isBlank(c) && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

std::optional<QByteArrayView> ValueReader::fail(const FileError &error)
{
    m_failure = error;
    return std::nullopt;
}

std::optional<QByteArrayView> ValueReader::line()
{
    if (m_pos >= m_bytes.size())
        return fail(FileError::pastEndOfFile());
    qsizetype end = m_bytes.indexOf('\n', m_pos);
    if (end < 0)
        end = m_bytes.size();
    QByteArrayView text(m_bytes.constData() + m_pos, end - m_pos);
    if (text.endsWith('\r'))
        text.chop(1);
    m_pos = end + 1;
    return text;
}

std::optional<QByteArrayView> ValueReader::quoted()
{
    while (m_pos < m_bytes.size() && isBlank(m_bytes.at(m_pos)))
        ++m_pos;
    if (m_pos >= m_bytes.size())
        return fail(FileError::pastEndOfFile());
    if (m_bytes.at(m_pos) != '"')
        return fail(FileError::typeMismatch());
    const qsizetype close = m_bytes.indexOf('"', m_pos + 1);
    if (close < 0)
        return fail(FileError::pastEndOfFile());
    const QByteArrayView text(m_bytes.constData() + m_pos + 1, close - m_pos - 1);
    m_pos = close + 1;
    const auto rest = line();
    if (rest && !rest->trimmed().isEmpty())
        return fail(FileError::typeMismatch());
    return text;
}
