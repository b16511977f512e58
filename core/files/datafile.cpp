#include "core/files/datafile.h"

#include "core/logs/generallog.h"
#include "core/platform/apppath.h"
#include "core/platform/diskwrites.h"
#include "core/station/prompts.h"
#include "core/station/recurringnotice.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QSet<QString> &failedLoads()
{
    static QSet<QString> names;
    return names;
}

// The first of "<name>.defekt", "<name>.defekt2", "<name>.defekt3" ... that is free.
QString freeCopyName(const QString &fileName)
{
    const QString first = fileName + QStringLiteral(".defekt");
    QString name = first;
    for (int n = 2; QFileInfo::exists(getAppPath() + name); ++n)
        name = first + QString::number(n);
    return name;
}

std::optional<FileError> keepDefectCopy(const QString &fileName)
{
    const QString path = getAppPath() + fileName;
    // A pipe or a device in the file's place holds nothing to keep.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly))
        return FileError::of(original);
    const QByteArray bytes = original.readAll();
    original.close();
    const QString copyName = freeCopyName(fileName);
    if (const auto error = replaceFile(getAppPath() + copyName, bytes)) {
        return FileError{error->number, QStringLiteral("Die unvollständig geladene Datei '") + fileName
                                            + QStringLiteral("' konnte nicht als '") + copyName
                                            + QStringLiteral("' gesichert werden: ") + error->description};
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
    const QFileInfo info(getAppPath() + fileName);
    if (!info.exists()) {
        content.missing = true;
        return content;
    }
    if (!info.isFile()) {
        content.error = FileError::pathAccess();
        return content;
    }
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = FileError::of(file);
        return content;
    }
    // The bytes land in a buffer kept from read to read: "Units.dat" alone is
    // 4.5 MB, and an allocator that maps each large block anew (the sanitizers'
    // does) would fault in fresh pages for every read. A caller still holding
    // the last bytes shares the buffer, and this read then takes a new one.
    static QByteArray buffer;
    buffer.resize(file.size());
    buffer.truncate(qMax(file.read(buffer.data(), buffer.size()), qint64(0)));
    content.bytes = buffer;
    if (file.error() != QFileDevice::NoError)
        content.error = FileError::of(file);
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
                           const FileError &error, RecurringNotice *recurring)
{
    const QString text = boxLine + QStringLiteral("\r\n") + error.description;
    if (recurring)
        recurring->tell(text, boxTitle);
    else
        inform(text, boxTitle, Prompts::Icon::Critical);
    logAllgemein(logLine + error.description);
}
