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

#include <optional>

namespace {

const QString kFileName = QStringLiteral("Units.dat");

// A test saves the units after its poll: a file that stays unwritable for
// weeks leaves one box, not one per test.
RecurringNotice saveFailureNotice(QStringLiteral("unitsSave"), Prompts::Icon::Critical,
                                  QStringLiteral("Fehlgeschlagene Speicherversuche"));

// Keeps the width of a field as saved, whoever assigned it last.
QByteArray quotedField(const QString &text, int width)
{
    QString fitted = text;
    if (fitted.size() != width || fitted.contains(u'"'))
        fitted = fixedWidth(text, width);
    return '"' + codepage::encode(fitted) + "\"\r\n";
}

// A text read back is fitted into its field, without touching NULs.
QString fit(const QString &text, int width)
{
    QString fitted = text.left(width);
    if (fitted.size() < width)
        fitted.append(QString(width - fitted.size(), u' '));
    return fitted;
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
    const QByteArray exists = existsLine->trimmed().toUpper();
    if (exists == "#TRUE#")
        record.exists = true;
    else if (exists == "#FALSE#")
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
    record.description = fit(codepage::decode(*description), kDescriptionWidth);
    record.frame = fit(codepage::decode(*frame), kFrameWidth);
    record.errorText = fit(codepage::decode(*errorText), kErrorTextWidth);
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
    QByteArray bytes;
    bytes.reserve(kMaxUnitAddress * (kDescriptionWidth + kFrameWidth + kErrorTextWidth + 24));
    for (int addr = 1; addr <= kMaxUnitAddress; ++addr) {
        const UnitRecord &record = units().at(addr);
        bytes += QByteArray::number(record.state) + "\r\n";
        bytes += record.exists ? "#TRUE#\r\n" : "#FALSE#\r\n";
        bytes += quotedField(record.description, kDescriptionWidth);
        bytes += quotedField(record.frame, kFrameWidth);
        bytes += quotedField(record.errorText, kErrorTextWidth);
    }
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
