#include "core/board/formularfile.h"

#include "core/files/datafile.h"
#include "core/files/valuereader.h"
#include "core/platform/codepage.h"
#include "core/platform/numbertext.h"
#include "core/station/prompts.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kFileName = QStringLiteral("Formulare.dat");
const QDate kZeroDate(1899, 12, 30);

QByteArray quotedLine(const QString &text) { return '"' + codepage::encode(storedFormularText(text)) + "\"\r\n"; }

QByteArray dateLine(const QDateTime &value)
{
    const QDateTime dt = value.isValid() ? value : QDateTime(kZeroDate, QTime(0, 0));
    QString text;
    if (dt.date() == kZeroDate)
        text = dt.time().toString(QStringLiteral("HH:mm:ss"));
    else if (dt.time() == QTime(0, 0))
        text = dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    else
        text = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return '#' + text.toLatin1() + "#\r\n";
}

struct Failed
{
    FileError error;
};

QByteArrayView quotedValue(ValueReader &reader)
{
    const auto value = reader.quoted();
    if (!value)
        throw Failed{reader.failure()};
    return *value;
}

QByteArrayView lineValue(ValueReader &reader)
{
    const auto value = reader.line();
    if (!value)
        throw Failed{reader.failure()};
    return value->trimmed();
}

QDateTime dateValue(ValueReader &reader)
{
    static const QRegularExpression form(QStringLiteral(
        "^#\\s*(?:(\\d{4})-(\\d{1,2})-(\\d{1,2}))?\\s*(?:(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*#$"));
    const QString text = QString::fromLatin1(lineValue(reader));
    const auto m = form.match(text);
    if (!m.hasMatch() || (!m.capturedLength(1) && !m.capturedLength(4)))
        throw Failed{FileError::typeMismatch()};
    const QDate date = m.capturedLength(1)
        ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())
        : kZeroDate;
    const QTime time = m.capturedLength(4)
        ? QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt())
        : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        throw Failed{FileError::typeMismatch()};
    return QDateTime(date, time);
}

qint32 numberValue(ValueReader &reader)
{
    bool ok = false;
    const double value = lineValue(reader).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw Failed{FileError::typeMismatch()};
    const qint64 whole = numbertext::roundHalfEven(value);
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        throw Failed{FileError::overflow()};
    return static_cast<qint32>(whole);
}

FormularRecord readBoard(ValueReader &reader)
{
    FormularRecord board;
    board.adressen = codepage::decode(quotedValue(reader));
    board.beschreibung = codepage::decode(quotedValue(reader));
    board.bild = codepage::decode(quotedValue(reader));
    board.geaendertAm = dateValue(reader);
    board.name = codepage::decode(quotedValue(reader));
    board.breite = numberValue(reader);
    board.hoehe = numberValue(reader);
    board.inUse = true;
    return board;
}

void reportFailure(const QString &boxLine, const QString &logLine, const FileError &error)
{
    reportDataFileFailure(boxLine, kProgramTitle, logLine, error);
}

void reportLoadFailure(const FileError &error)
{
    noteLoadFailed(kFileName);
    reportFailure(QStringLiteral("Beim Laden der Formulare ist folgender Fehler aufgetreten:"),
                  QStringLiteral("Fehler beim Laden der Formulare: "), error);
}

} // namespace

FormularTable &formulare()
{
    static FormularTable instance;
    return instance;
}

QString storedFormularText(QString text) { return text.replace(u'"', u'\''); }

QByteArray encodeFormular(const FormularRecord &board)
{
    return quotedLine(board.adressen) + quotedLine(board.beschreibung) + quotedLine(board.bild)
         + dateLine(board.geaendertAm) + quotedLine(board.name)
         + QByteArray::number(board.breite) + "\r\n" + QByteArray::number(board.hoehe) + "\r\n";
}

bool loadFormulare()
{
    FormularTable &table = formulare();
    clearIndexBitmap(table.index());
    // The stored boards are numbered anew: no slot is the open board's any more.
    table.forgetStoredCopy();
    const DataFileContent content = readDataFile(kFileName);
    if (content.missing)
        return true;
    if (content.error) {
        reportLoadFailure(*content.error);
        return false;
    }
    ValueReader reader(content.bytes);
    try {
        for (int n = 1; !reader.atEnd(); ++n) {
            if (n > kMaxFormulare)
                throw Failed{FileError::outOfRange()};
            table.at(n) = readBoard(reader);
            toggleIndexBit(n, table.index());
        }
    } catch (const Failed &failed) {
        reportLoadFailure(failed.error);
        return false;
    }
    noteLoadComplete(kFileName);
    return true;
}

bool saveFormulare()
{
    const FormularTable &table = formulare();
    QByteArray bytes;
    for (int slot = 1; slot <= table.index().size() * 8; ++slot) {
        if (isIndexUsed(slot, table.index()) && table.stored(slot).inUse)
            bytes += encodeFormular(table.stored(slot));
    }
    if (const auto error = writeDataFile(kFileName, bytes)) {
        reportFailure(QStringLiteral("Beim Speichern der Formulare ist folgender Fehler aufgetreten:"),
                      QStringLiteral("Fehler beim Speichern der Formulare: "), *error);
        return false;
    }
    return true;
}
