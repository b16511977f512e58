#include "core/datafile.h"

#include "core/apppath.h"
#include "core/generallog.h"
#include "core/prompts.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>

FileError FileError::overflow() { return {6, QStringLiteral("Überlauf")}; }
FileError FileError::outOfRange() { return {9, QStringLiteral("Index außerhalb des gültigen Bereichs")}; }
FileError FileError::typeMismatch() { return {13, QStringLiteral("Typen unverträglich")}; }
FileError FileError::diskFull() { return {61, QStringLiteral("Datenträger voll")}; }
FileError FileError::pastEndOfFile() { return {62, QStringLiteral("Einlesen hinter Dateiende")}; }
FileError FileError::accessDenied() { return {70, QStringLiteral("Zugriff verweigert")}; }
FileError FileError::pathAccess() { return {75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")}; }

namespace {

QSet<QString> &failedLoads()
{
    static QSet<QString> names;
    return names;
}

FileError fromDevice(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ResourceError: return FileError::diskFull();
    case QFileDevice::PermissionsError: return FileError::accessDenied();
    default: return FileError::pathAccess();
    }
}

std::optional<FileError> replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fromDevice(file.error());
    if (file.write(bytes) != bytes.size()) {
        const FileError error = fromDevice(file.error());
        file.cancelWriting();
        file.commit();
        return error;
    }
    if (!file.commit())
        return fromDevice(file.error());
    return std::nullopt;
}

std::optional<FileError> keepDefectCopy(const QString &fileName)
{
    const QString path = getAppPath() + fileName;
    QFile original(path);
    if (!original.exists())
        return std::nullopt;
    if (!original.open(QIODevice::ReadOnly))
        return fromDevice(original.error());
    const QByteArray bytes = original.readAll();
    original.close();
    const QString copyName = fileName + QStringLiteral(".defekt");
    if (replaceFile(getAppPath() + copyName, bytes)) {
        return FileError{75, QStringLiteral("Die unvollständig geladene Datei '") + fileName
                                 + QStringLiteral("' konnte nicht als '") + copyName
                                 + QStringLiteral("' gesichert werden")};
    }
    logAllgemein(QStringLiteral("Die Datei '") + fileName
                 + QStringLiteral("' konnte beim Laden nicht vollständig gelesen werden und wurde "
                                  "vor dem Speichern als '")
                 + copyName + QStringLiteral("' gesichert"));
    return std::nullopt;
}

} // namespace

DataFileContent readDataFile(const QString &fileName)
{
    DataFileContent content;
    QFile file(getAppPath() + fileName);
    if (!file.exists()) {
        content.missing = true;
        return content;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = fromDevice(file.error());
        return content;
    }
    content.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        content.error = fromDevice(file.error());
    return content;
}

std::optional<FileError> writeDataFile(const QString &fileName, const QByteArray &bytes)
{
    if (failedLoads().contains(fileName)) {
        if (auto error = keepDefectCopy(fileName))
            return error;
        failedLoads().remove(fileName);
    }
    return replaceFile(getAppPath() + fileName, bytes);
}

void noteLoadFailed(const QString &fileName) { failedLoads().insert(fileName); }
void noteLoadComplete(const QString &fileName) { failedLoads().remove(fileName); }
void forgetLoadFailures() { failedLoads().clear(); }

void reportDataFileFailure(const QString &boxLine, const QString &boxTitle, const QString &logLine,
                           const FileError &error)
{
    inform(boxLine + QStringLiteral("\r\n") + error.description, boxTitle, Prompts::Icon::Critical);
    logAllgemein(logLine + error.description);
}
