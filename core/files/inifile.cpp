#include "core/files/inifile.h"

#include "core/platform/codepage.h"
#include "core/platform/diskwrites.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace inifile {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// The file's lines without their ends; nullopt when a file is there but cannot be read.
std::optional<QStringList> readLines(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringList();
    // A pipe in its place would hold every read and write of the station.
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = codepage::decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<QString> sectionName(const QString &line)
{
    const QString t = trimBlanks(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return trimBlanks(t.mid(1, close < 0 ? -1 : close - 1));
}

struct KeyLine
{
    QString name;
    QString value;
};

std::optional<KeyLine> keyLine(const QString &line)
{
    const QString t = trimBlanks(line);
    if (t.startsWith(u';'))
        return std::nullopt;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return std::nullopt;
    return KeyLine{trimBlanks(t.left(eq)), trimBlanks(t.mid(eq + 1))};
}

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Index of the first line of the section's body, or -1.
qsizetype findSection(const QStringList &lines, const QString &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines.at(i));
        if (name && sameName(*name, section))
            return i + 1;
    }
    return -1;
}

qsizetype sectionEnd(const QStringList &lines, qsizetype body)
{
    qsizetype i = body;
    while (i < lines.size() && !sectionName(lines.at(i)))
        ++i;
    return i;
}

qsizetype findKey(const QStringList &lines, qsizetype body, qsizetype end, const QString &key)
{
    for (qsizetype i = body; i < end; ++i) {
        const auto k = keyLine(lines.at(i));
        if (k && sameName(k->name, key))
            return i;
    }
    return -1;
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

QString cut(const QString &text, int bufferSize)
{
    return text.left(bufferSize > 0 ? bufferSize - 1 : 0);
}

// A line break inside a name or value would tear the file apart.
QString oneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

QString read(const QString &path, const QString &section, const QString &key,
             const QString &defaultValue, int bufferSize)
{
    QString fallback = defaultValue;
    while (!fallback.isEmpty() && isBlank(fallback.back()))
        fallback.chop(1);
    const auto lines = readLines(path);
    if (!lines)
        return cut(fallback, bufferSize);
    const qsizetype body = findSection(*lines, section);
    if (body < 0)
        return cut(fallback, bufferSize);
    const qsizetype at = findKey(*lines, body, sectionEnd(*lines, body), key);
    if (at < 0)
        return cut(fallback, bufferSize);
    return cut(unquoted(keyLine(lines->at(at))->value), bufferSize);
}

int write(const QString &path, const QString &section, const QString &key, const QString &value,
          std::optional<FileError> *failure)
{
    auto lines = readLines(path);
    if (!lines) {
        if (failure)
            *failure = FileError::pathAccess();
        return 0;
    }
    const QString sectionText = oneLine(section);
    const QString keyText = oneLine(key);
    const QString valueText = oneLine(value);

    const qsizetype body = findSection(*lines, sectionText);
    if (body < 0) {
        lines->append(u'[' + sectionText + u']');
        lines->append(keyText + u'=' + valueText);
    } else {
        const qsizetype end = sectionEnd(*lines, body);
        const qsizetype at = findKey(*lines, body, end, keyText);
        if (at >= 0) {
            // The stored spelling of the key stays.
            lines->replace(at, keyLine(lines->at(at))->name + u'=' + valueText);
        } else {
            qsizetype insertAt = end;
            while (insertAt > body && trimBlanks(lines->at(insertAt - 1)).isEmpty())
                --insertAt;
            lines->insert(insertAt, keyText + u'=' + valueText);
        }
    }

    QByteArray bytes;
    for (const QString &line : *lines)
        bytes += codepage::encode(line) + "\r\n";
    const auto error = replaceFile(path, bytes);
    if (failure)
        *failure = error;
    return error ? 0 : 1;
}

} // namespace inifile
