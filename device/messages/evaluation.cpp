#include "device/messages/evaluation.h"

#include "core/logs/testlog.h"
#include "core/platform/numbertext.h"
#include "core/platform/visiblecontrols.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/messages/devicetypes.h"
#include "device/messages/messagegrammar.h"
#include "device/messages/messageheader.h"

#include <QDate>
#include <algorithm>
#include <optional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Positions are 1-based, as the message layouts are written.
QChar at(const QString &message, int pos)
{
    return pos >= 1 && pos <= message.size() ? message[pos - 1] : QChar();
}

QString field(const QString &message, int pos, int length)
{
    return message.mid(pos - 1, length);
}

class Verdict
{
public:
    void fault(const QString &reason) { m_text += QStringLiteral("\tFEHLER: ") + reason + kCrLf; }
    Evaluation ok() const { return {kEvalOk, QStringLiteral("Gerät OK") + kCrLf}; }
    Evaluation faulty() const { return {kEvalFault, m_text}; }
    Evaluation okUnlessFaults() const { return m_text.isEmpty() ? ok() : faulty(); }

private:
    QString m_text;
};

// Whole hours the battery has to last.
int requiredHours()
{
    return settings().akkulaufzeit == 1 ? 1 : 3;
}

Evaluation capacity(const QString &duration)
{
    Verdict v;
    if (!isAkkuLaufzeitOK(duration))
        v.fault(QStringLiteral("Akkukapazität zu klein"));
    return v.okUnlessFaults();
}

// The contacts or phases at 13-15; text n is followed by description part n + 1.
Evaluation signalContacts(const QString &message, const char16_t *const reasons[3])
{
    Verdict v;
    if (field(message, 13, 3) == u"---")
        return v.ok();
    for (int n = 1; n <= 3; ++n) {
        if (at(message, 12 + n) == u'!')
            v.fault(QString::fromUtf16(reasons[n - 1]) + senderDescription(message, n + 1) + u')');
    }
    return v.faulty();
}

void outputFaults(const QString &message, Verdict &v)
{
    for (int pos = 22; pos <= 29; ++pos) {
        if (at(message, pos) == u'F')
            v.fault(QStringLiteral("Fehler an Ausgang ") + QString::number(pos - 21));
    }
}

Evaluation firstFault(const QString &message, std::initializer_list<std::pair<int, const char16_t *>> checks)
{
    Verdict v;
    for (const auto &[pos, reason] : checks) {
        if (at(message, pos) == u'F') {
            v.fault(QString::fromUtf16(reason));
            return v.faulty();
        }
    }
    return v.ok();
}

Evaluation singleField(const QString &message, int pos, QChar good, const QString &reason)
{
    Verdict v;
    if (at(message, pos) != good)
        v.fault(reason);
    return v.okUnlessFaults();
}

// Date DDMMYY and time hhmm of the unit, as hours since an arbitrary start,
// cut down to the full hour; none when the fields hold anything but digits
// (dashes: no duration test yet) or no real date.
std::optional<qint64> fullHour(const QString &message, int datePos, int timePos)
{
    const QString date = field(message, datePos, 6);
    const QString time = field(message, timePos, 4);
    const auto digitsOnly = [](const QString &text) {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (!digitsOnly(date + time))
        return std::nullopt;
    const int day = date.mid(0, 2).toInt();
    const int month = date.mid(2, 2).toInt();
    const int year = 2000 + date.mid(4, 2).toInt();
    const int hour = time.mid(0, 2).toInt();
    const int minute = time.mid(2, 2).toInt();
    const QDate d(year, month, day);
    if (!d.isValid() || hour > 23 || minute > 59)
        return std::nullopt;
    return d.toJulianDay() * 24 + hour;
}

// A unit that holds no readable last duration test has not shown its battery
// duration: that is judged like one that fell short.
Evaluation capacity1000(const QString &message)
{
    Verdict v;
    const auto start = fullHour(message, 77, 89);
    const auto end = fullHour(message, 83, 93);
    if (!start || !end || qAbs(*end - *start) < requiredHours())
        v.fault(QStringLiteral("Akkukapazität zu klein"));
    return v.okUnlessFaults();
}

Evaluation inverters(const QString &message)
{
    Verdict v;
    for (int pos = 48; pos <= 68; ++pos) {
        if (at(message, pos) != u'0')
            v.fault(QStringLiteral("Fehler an Wechselrichter ") + QString::number(pos - 47));
    }
    return v.okUnlessFaults();
}

constexpr const char16_t *kContactReasons[3] = {
    u"Meldekontakt 1 betätigt (", u"Meldekontakt 2 betätigt (", u"Meldekontakt 3 betätigt ("};
constexpr const char16_t *kPhaseReasons[3] = {u"L1 Ausfall (", u"L2 Ausfall (", u"L3 Ausfall ("};

Evaluation applyRule(int deviceType, const QString &m, bool capacityMode)
{
    const QString lamp = QStringLiteral("Leuchtmittelfehler");
    switch (deviceType) {
    case kType0203:
    case kType0204:
        return singleField(m, 13, u'E', lamp);
    case kType0403:
        return signalContacts(m, kContactReasons);
    case kType0404:
        return signalContacts(m, kPhaseReasons);
    case kType2001: {
        Verdict v;
        if (at(m, 30) == u'-')
            return v.ok();
        outputFaults(m, v);
        return v.faulty();
    }
    case kType2002: {
        Verdict v;
        if (at(m, 30) == u'-' && at(m, 21) == u'-')
            return v.ok();
        if (at(m, 21) == u'!')
            v.fault(QStringLiteral("SV Ausgefallen"));
        if (at(m, 30) == u'!')
            outputFaults(m, v);
        return v.faulty();
    }
    case kType0501:
        return capacityMode ? capacity(field(m, 19, 6))
                            : singleField(m, 14, u'0', QStringLiteral("Allgemeiner Fehler"));
    case kType0401:
        return capacityMode ? capacity(field(m, 19, 6)) : singleField(m, 14, u'E', lamp);
    case kType0402:
        return capacityMode ? capacity(field(m, 19, 6)) : singleField(m, 14, u'O', lamp);
    case kType1000:
        return capacityMode ? capacity1000(m) : inverters(m);
    case kType0901:
        if (capacityMode)
            return capacity(field(m, 13, 6));
        return firstFault(m, {{30, u"Leuchtmittelfehler"}, {27, u"Akkuspannungsfehler"},
                              {28, u"Ladefehler"}, {29, u"Temperaturfehler"},
                              {31, u"Kapazitätsfehler"}});
    case kType0701:
    case kType0601:
        if (capacityMode)
            return capacity(field(m, 25, 6));
        return firstFault(m, {{35, u"Leuchtmittelfehler"}, {14, u"Akkuspannungsfehler"},
                              {16, u"Ladefehler"}, {15, u"Temperaturfehler"}});
    default:
        return {};
    }
}

} // namespace

Evaluation evaluateStatus(int deviceType, const QString &message, bool capacityMode)
{
    if (!checkSyntax(deviceType, message)) {
        Verdict v;
        if (deviceType >= 1 && deviceType <= kDeviceTypeCount)
            v.fault(QStringLiteral("Statusmeldung syntaktisch falsch"));
        return v.faulty();
    }
    return applyRule(deviceType, message, capacityMode);
}

bool isAkkuLaufzeitOK(const QString &duration)
{
    return numbertext::leadingNumber(duration.left(2)) >= requiredHours();
}

int evaluateMessage(const QString &message, bool capacityMode, const QString &logFile,
                    QString *faultText)
{
    const int type = getDeviceTypeCode(message);
    QString text;
    bool ok = false;
    if (type == 0) {
        text = QStringLiteral("\tFEHLER: Ungültiger Gerätetyp (") + visibleControls(message.mid(5, 4)) + u')';
    } else {
        const Evaluation e = evaluateStatus(type, message, capacityMode);
        ok = e.result == kEvalOk;
        text = e.text;
    }

    // The log names the address the message carries, not the one asked for;
    // the header's pattern lets any character through there, a line break too.
    appendLog(logFile, QStringLiteral("Adresse ") + visibleControls(message.left(3)));
    appendLog(logFile, QStringLiteral("\tTyp: ") + getDeviceTypeName(message));
    if (ok) {
        appendLog(logFile, QStringLiteral("\tStatus: OK") + kCrLf);
        text = QStringLiteral("\tSTATUS: OK") + kCrLf;
    } else {
        appendLog(logFile, QStringLiteral("\tStatus: FEHLER"));
        appendLog(logFile, QStringLiteral("\tBeschreibung: ") + senderDescription(message, 1));
        appendLog(logFile, text);
    }
    if (faultText)
        *faultText = text;
    return ok ? kStateOk : kStateFault;
}
