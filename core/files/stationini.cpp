#include "core/files/stationini.h"

#include "core/files/inifile.h"
#include "core/logs/generallog.h"
#include "core/platform/apppath.h"
#include "core/platform/numbertext.h"
#include "core/platform/oledate.h"
#include "core/platform/textutil.h"
#include "core/station/prompts.h"

#include <QRegularExpression>

namespace {
constexpr int kValueBuffer = 1024;

// A full disk is the one failed write that has a name of its own; any other
// is told as missing write rights, and names nothing.
QString pendingFailure;

// The ini file whose refusal the general log has told. Told once until the
// file takes a write again: the schedule writes at every tick, and the log
// would fill with the same warning while the cause lasts.
QString toldUnwritable;

QString trimSpaces(QString text)
{
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}
} // namespace

QString iniPath() { return getAppPath() + QStringLiteral("Nuvax.ini"); }

QString readIni(const QString &section, const QString &key, const QString &defaultValue)
{
    return trimSpaces(trimNull(inifile::read(iniPath(), section, key, defaultValue, kValueBuffer)));
}

int writeIniDirect(const QString &section, const QString &key, const QString &value)
{
    std::optional<FileError> failure;
    const int result = inifile::write(iniPath(), section, key, value, &failure);
    pendingFailure = failure && failure->number == FileError::diskFull().number ? failure->description : QString();
    if (result != 0)
        toldUnwritable.clear();
    return result;
}

QString iniWriteFailure() { return pendingFailure; }

int writeIni(const QString &section, const QString &key, const QString &value)
{
    const int result = writeIniDirect(section, key, value);
    if (result == 0 && toldUnwritable != iniPath()) {
        toldUnwritable = iniPath();
        logAllgemein(QStringLiteral("WARNUNG: Fehlende Schreibrechte auf '") + iniPath() + u'\'');
    }
    return result;
}

int writeIni(const QString &section, const QString &key, const char *value)
{
    return writeIni(section, key, QString::fromUtf8(value));
}

int writeIni(const QString &section, const QString &key, bool value)
{
    return writeIni(section, key, numbertext::booleanWord(value));
}

int writeIni(const QString &section, const QString &key, int value)
{
    return writeIni(section, key, QString::number(value));
}

int writeIni(const QString &section, const QString &key, const QTime &value)
{
    return writeIni(section, key, initext::timeText(value));
}

int writeIni(const QString &section, const QString &key, const QDateTime &value)
{
    return writeIni(section, key, initext::dateTimeText(value));
}

void showWriteRightsBox()
{
    // Timed work shows it once until a write succeeds; a file that fails again
    // later, while the first box still waits for its OK, adds no second one.
    inform(
        QStringLiteral("Fehler beim Speichern der Konfiguration!\r\n"
                       "Stellen Sie sicher, dass das Programm Schreibrechte auf die Datei '")
            + iniPath()
            + QStringLiteral("' hat.\r\n"
                             "Solange das Problem weiterbesteht, kann die Prüfung nicht "
                             "fortgesetzt werden!"),
        kProgramTitle, Prompts::Icon::Critical, QStringLiteral("writeRights"));
}

namespace initext {

QString timeText(const QTime &time)
{
    return (time.isValid() ? time : QTime(0, 0)).toString(QStringLiteral("HH:mm:ss"));
}

QString dateTimeText(const QDateTime &dateTime)
{
    if (!dateTime.isValid() || dateTime == oledate::zero())
        return QStringLiteral("0");
    return dateTime.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

std::optional<QTime> parseTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt(),
                     m.capturedLength(3) ? m.captured(3).toInt() : 0);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

QDateTime parseDateTime(const QString &text)
{
    const QString t = text.trimmed();
    static const QRegularExpression form(
        QStringLiteral("^(?:(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})|(\\d{4})-(\\d{2})-(\\d{2}))?"
                       "(?:(?:^|[ T])(\\d{1,2}:\\d{2}(?::\\d{2})?))?$"));
    const auto m = form.match(t);
    if (t.isEmpty() || !m.hasMatch())
        return oledate::zero();
    QDate date = oledate::zero().date();
    if (m.capturedLength(3))
        date = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    else if (m.capturedLength(4))
        date = QDate(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    QTime time(0, 0);
    if (m.capturedLength(7)) {
        const auto parsed = parseTime(m.captured(7));
        if (!parsed)
            return oledate::zero();
        time = *parsed;
    }
    if (!date.isValid())
        return oledate::zero();
    return QDateTime(date, time);
}

} // namespace initext
