// "Units.dat": the registry as 2000 records of five values, each value followed
// by CR LF. Texts stand between double quotes with all their padding and any
// line breaks, never-assigned fields as NUL bytes; nothing inside is escaped.
#include "core/registry/unitsfile.h"

#include "core/files/datafile.h"
#include "core/files/valuereader.h"
#include "core/platform/codepage.h"
#include "core/platform/numbertext.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/station/recurringnotice.h"

#include <charconv>
#include <cstring>
#include <optional>

namespace {

const QString kFileName = QStringLiteral("Units.dat");

// A test saves the units after its poll: a file that stays unwritable for
// weeks leaves one box, not one per test.
RecurringNotice saveFailureNotice(QStringLiteral("unitsSave"), Prompts::Icon::Critical,
                                  QStringLiteral("Fehlgeschlagene Speicherversuche"));

// The longest record: its texts at their fields' widths, one byte per character
// at most, and the longest state a 32-bit number can write.
constexpr qsizetype kRecordBound = 11 + 2 + 9 + (kDescriptionWidth + 4) + (kFrameWidth + 4) + (kErrorTextWidth + 4);

char *put(char *out, QByteArrayView bytes)
{
    std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}

// Most of the 2000 addresses hold no unit. Their texts were never assigned and
// share one copy per field (unassignedText): a save writes them as NULs without
// looking at each character, a load gives them back as that copy, without
// decoding and without memory of their own.
constexpr char kNuls[kDescriptionWidth] = {};
static_assert(kDescriptionWidth >= kFrameWidth && kDescriptionWidth >= kErrorTextWidth);

// Keeps the width of a field as saved, whoever assigned it last.
char *putQuoted(char *out, const QString &text, const QString &unassigned)
{
    const qsizetype width = unassigned.size();
    *out++ = '"';
    if (text.constData() == unassigned.constData())
        out = put(out, QByteArrayView(kNuls, width));
    else if (text.size() == width && !text.contains(u'"'))
        out = codepage::encodeTo(text, out);
    else
        out = codepage::encodeTo(fixedWidth(text, int(width)), out);
    return put(out, "\"\r\n");
}

char *putRecord(char *out, const UnitRecord &record)
{
    out = std::to_chars(out, out + 11, record.state).ptr;
    out = put(out, record.exists ? "\r\n#TRUE#\r\n" : "\r\n#FALSE#\r\n");
    out = putQuoted(out, record.description, unassignedText<kDescriptionWidth>());
    out = putQuoted(out, record.frame, unassignedText<kFrameWidth>());
    return putQuoted(out, record.errorText, unassignedText<kErrorTextWidth>());
}

// A text read back is fitted into its field, without touching NULs.
QString readText(QByteArrayView field, const QString &unassigned)
{
    const qsizetype width = unassigned.size();
    if (field == QByteArrayView(kNuls, width))
        return unassigned;
    QString text = codepage::decode(field.first(qMin(field.size(), width)));
    text.resize(width, u' ');
    return text;
}

std::optional<FileError> readRecord(ValueReader &reader, UnitRecord &record)
{
    const auto stateLine = reader.line();
    if (!stateLine)
        return reader.failure();
    bool ok = false;
    const double state = stateLine->trimmed().toDouble(&ok);
    if (!ok)
        return FileError::typeMismatch();
    const qint64 rounded = numbertext::roundHalfEven(state);
    // A state that means nothing to the station counts as not yet tested.
    record.state = rounded >= kStateUnknown && rounded <= kStateOk ? int(rounded) : kStateUnknown;

    const auto existsLine = reader.line();
    if (!existsLine)
        return reader.failure();
    const QByteArrayView exists = existsLine->trimmed();
    if (exists.compare("#TRUE#", Qt::CaseInsensitive) == 0)
        record.exists = true;
    else if (exists.compare("#FALSE#", Qt::CaseInsensitive) == 0)
        record.exists = false;
    else
        return FileError::typeMismatch();

    const auto description = reader.quoted();
    if (!description)
        return reader.failure();
    const auto frame = reader.quoted();
    if (!frame)
        return reader.failure();
    const auto errorText = reader.quoted();
    if (!errorText)
        return reader.failure();
    record.description = readText(*description, unassignedText<kDescriptionWidth>());
    record.frame = readText(*frame, unassignedText<kFrameWidth>());
    record.errorText = readText(*errorText, unassignedText<kErrorTextWidth>());
    return std::nullopt;
}

void reportFailure(const QString &boxLine, const QString &logLine, const FileError &error,
                   RecurringNotice *recurring = nullptr)
{
    reportDataFileFailure(boxLine, QStringLiteral("Fehler: ") + QString::number(error.number),
                          logLine, error, recurring);
}

void reportLoadFailure(const FileError &error)
{
    reportFailure(QStringLiteral("Beim Laden der Geräteliste ist folgender fehler aufgetreten:"),
                  QStringLiteral("Fehler beim Laden der Geräteliste: "), error);
}

} // namespace

bool saveUnits(bool refresh)
{
    // The buffer stays from save to save, and a save ends every poll: an
    // allocator that maps each large block anew (the sanitizers' does) would
    // fault in 4.5 MB of fresh pages each time, which costs more than filling them.
    static QByteArray bytes;
    bytes.resize(kMaxUnitAddress * kRecordBound);
    char *out = bytes.data();
    for (int addr = 1; addr <= kMaxUnitAddress; ++addr)
        out = putRecord(out, units().at(addr));
    bytes.truncate(out - bytes.constData());
    if (const auto error = writeDataFile(kFileName, bytes)) {
        reportFailure(QStringLiteral("Beim Speichern der Geräteliste ist folgender fehler aufgetreten:"),
                      QStringLiteral("Fehler beim Speichern der Geräteliste: "), *error, &saveFailureNotice);
        return false;
    }
    if (refresh)
        fillUnitList();
    return true;
}

bool loadUnits(bool refresh)
{
    const DataFileContent content = readDataFile(kFileName);
    if (content.missing)
        return true;
    if (content.error) {
        noteLoadFailed(kFileName);
        reportLoadFailure(*content.error);
        return false;
    }
    ValueReader reader(content.bytes);
    for (int addr = 1; addr <= kMaxUnitAddress; ++addr) {
        UnitRecord record;
        if (const auto error = readRecord(reader, record)) {
            noteLoadFailed(kFileName);
            reportLoadFailure(*error);
            return false;
        }
        units().at(addr) = record;
    }
    noteLoadComplete(kFileName);
    if (refresh)
        fillUnitList();
    return true;
}

void deleteAllUnits()
{
    clearAllUnits();
    saveUnits(true);
}
