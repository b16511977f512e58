#include "core/platform/fileerror.h"

#include <QFileDevice>
#include <QLocale>

#include <cerrno>

FileError FileError::overflow() { return {6, QStringLiteral("Überlauf")}; }
FileError FileError::outOfRange() { return {9, QStringLiteral("Index außerhalb des gültigen Bereichs")}; }
FileError FileError::typeMismatch() { return {13, QStringLiteral("Typen unverträglich")}; }
FileError FileError::diskFull() { return {61, QStringLiteral("Datenträger voll")}; }
FileError FileError::pastEndOfFile() { return {62, QStringLiteral("Einlesen hinter Dateiende")}; }
FileError FileError::accessDenied() { return {70, QStringLiteral("Zugriff verweigert")}; }
FileError FileError::pathAccess() { return {75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")}; }
FileError FileError::pathTooLong() { return {75, QStringLiteral("Pfad oder Dateiname zu lang")}; }

namespace {

// "6,3 MB", "12,0 kB", "512 Byte": a size as the operator reads it off the disk's properties.
QString sizeText(qint64 bytes)
{
    const QLocale german(QLocale::German);
    if (bytes < 1024)
        return QString::number(bytes) + QStringLiteral(" Byte");
    if (bytes < 1024 * 1024)
        return german.toString(bytes / 1024.0, 'f', 1) + QStringLiteral(" kB");
    return german.toString(bytes / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

FileError FileError::lackOfRoom(qint64 needed, qint64 available)
{
    return {diskFull().number, diskFull().description + QStringLiteral(" (benötigt ") + sizeText(needed)
                                   + QStringLiteral(", frei ") + sizeText(available) + u')'};
}

bool FileError::isDiskFull() const { return number == diskFull().number; }

FileError FileError::fromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return diskFull();
    case EACCES:
    case EPERM:
    case EROFS: return accessDenied();
    case ENAMETOOLONG: return pathTooLong();
    default: return pathAccess();
    }
}

FileError FileError::of(const QFileDevice &file)
{
    // Qt names a full disk as such only for a write that took no byte at all;
    // an open or a rename that failed for want of space, or on a name the
    // system finds too long, says so only in its text.
    for (const int error : {ENOSPC, EDQUOT, ENAMETOOLONG})
        if (file.errorString() == qt_error_string(error))
            return fromErrno(error);
    switch (file.error()) {
    case QFileDevice::ResourceError: return diskFull();
    case QFileDevice::PermissionsError: return accessDenied();
    default: return pathAccess();
    }
}
