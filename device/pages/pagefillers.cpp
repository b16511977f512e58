#include "device/pages/pagefillers.h"

#include "core/platform/codepage.h"
#include "core/station/stationview.h"
#include "device/pages/pagevalues.h"
#include "device/pages/statuspages.h"

#include <initializer_list>

namespace {

const QString kOk = QStringLiteral("ok");
const QString kFehler = QStringLiteral("Fehler");

void show(const QString &pageTemplate, const QString &message, const QStringList &typeValues)
{
    appView().showStatusPage(fillStatusPage(pageTemplate, message, typeValues));
}

struct CodeText
{
    char16_t code;
    const char *text; // UTF-8
};

// The text of a one-letter code; a letter the table does not know shows nothing.
QString codeText(QChar code, std::initializer_list<CodeText> table)
{
    for (const CodeText &entry : table) {
        if (code == QChar(entry.code))
            return QString::fromUtf8(entry.text);
    }
    return {};
}

QString hours(const MessageFields &f, int pos) { return f.text(pos, 2) + QStringLiteral(" Stunden"); }
QString yesNo(const MessageFields &f, int pos)
{
    return f.flag(pos, u'J', QStringLiteral("Ja"), QStringLiteral("Nein"));
}
QString okOrFault(const MessageFields &f, int pos) { return f.flag(pos, u'O', kOk, kFehler); }
QString onOrOff(const MessageFields &f, int pos)
{
    return f.flag(pos, u'O', QStringLiteral("an"), QStringLiteral("aus"));
}
QString celsius(const MessageFields &f, int pos) { return f.number(pos, 3) + QStringLiteral(" °C"); }
// The light units report their battery in hundreds of millivolts.
QString millivolts(const MessageFields &f, int pos)
{
    return QString::number(f.numberValue(pos, 3) * 100) + QStringLiteral(" mV");
}

void showLampPage(const QString &message)
{
    const MessageFields f(message);
    show(statusPages().statusPageTemplate0203, message,
         {f.flag(13, u'E', QStringLiteral("Ein"), QStringLiteral("Aus"))});
}

// Three contacts or phases, the device function and the software version.
QStringList contactValues(const MessageFields &f, QChar functionFlag, const QString &functionOn,
                          const QString &functionOff)
{
    QStringList v;
    for (int pos = 13; pos <= 15; ++pos)
        v << f.flag(pos, u'-', kOk, kFehler);
    v << f.flag(16, functionFlag, functionOn, functionOff) << f.version(17);
    return v;
}

// Eight current senses, the signal input, eight output tests, the test
// result, the supply and the software version.
QStringList regulatorValues(const MessageFields &f, const QString &signalQuiet,
                            const QString &signalRaised)
{
    QStringList v;
    for (int pos = 13; pos <= 20; ++pos)
        v << f.flag(pos, u'0', QStringLiteral("kein Iv"), QStringLiteral("Iv"));
    v << f.flag(21, u'-', signalQuiet, signalRaised);
    for (int pos = 22; pos <= 29; ++pos)
        v << f.flag(pos, u'O', QStringLiteral("OK"), kFehler);
    v << f.flag(30, u'-', QStringLiteral("OK"), kFehler)
      << f.flag(31, u'A', QStringLiteral("AV"), QStringLiteral("SV")) << f.version(32);
    return v;
}

// State now and at the last test, time range and switch of the automatic
// test, device function, last duration test and the software version.
QStringList controllerValues(const MessageFields &f, QChar stateFlag, const QString &flagText,
                             const QString &otherText, const QString &function)
{
    return {f.flag(13, stateFlag, flagText, otherText),
            f.flag(14, stateFlag, flagText, otherText),
            hours(f, 15),
            yesNo(f, 17),
            function,
            f.duration(19),
            f.version(25)};
}

// The light units: five or six states, now and at the last test.
QStringList lightStates(const MessageFields &f, int first, int okCount, int lightCount)
{
    QStringList v;
    for (int i = 0; i < okCount; ++i)
        v << okOrFault(f, first + i);
    for (int i = 0; i < lightCount; ++i)
        v << onOrOff(f, first + okCount + i);
    return v;
}

QStringList lightUnit0901States(const MessageFields &f, int first)
{
    return lightStates(f, first, 3, 1) << okOrFault(f, first + 4);
}

QStringList lightUnit0701Values(const MessageFields &f)
{
    return lightStates(f, 13, 4, 2) << f.duration(19) << f.duration(25)
                                    << lightStates(f, 31, 4, 2) << celsius(f, 37)
                                    << f.number(40, 3) + QStringLiteral(" Stunden")
                                    << millivolts(f, 43) << f.version(46);
}

// The battery current of the inverter system: four characters, signed, with a
// decimal comma. Its sign decides whether the row says charging or
// discharging; the value shows the magnitude in its shortest form.
struct CurrentRow
{
    QString label;
    QString value;
};

CurrentRow currentRow(const QString &field)
{
    const QString text = field.trimmed();
    QStringView digits(text);
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'-' || digits.front() == u'+')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    const qsizetype comma = digits.indexOf(u',');
    QStringView whole = comma < 0 ? digits : digits.left(comma);
    QStringView fraction = comma < 0 ? QStringView() : digits.mid(comma + 1);
    const auto allDigits = [](QStringView s) {
        for (const QChar c : s) {
            if (c < u'0' || c > u'9')
                return false;
        }
        return true;
    };
    if (whole.size() + fraction.size() == 0 || !allDigits(whole) || !allDigits(fraction)) {
        // Not a number: the operator sees what the unit sent.
        return {QStringLiteral("Ladestrom"), text + QStringLiteral(" A")};
    }
    while (whole.size() > 1 && whole.front() == u'0')
        whole = whole.mid(1);
    while (!fraction.isEmpty() && fraction.back() == u'0')
        fraction.chop(1);
    QString magnitude = whole.isEmpty() ? QStringLiteral("0") : whole.toString();
    if (!fraction.isEmpty())
        magnitude += u',' + fraction.toString();
    // Zero carries no direction, whatever its sign.
    const bool discharging = negative && magnitude != u"0";
    return {discharging ? QStringLiteral("Entladestrom") : QStringLiteral("Ladestrom"),
            magnitude + QStringLiteral(" A")};
}

} // namespace

void showStatusPage0203(const QString &message) { showLampPage(message); }

// The 0204 reports as the 0203 does and shares its page.
void showStatusPage0204(const QString &message) { showLampPage(message); }

void showStatusPage0403(const QString &message)
{
    const MessageFields f(message);
    show(statusPages().statusPageTemplate0403, message,
         contactValues(f, u'e', QStringLiteral("Normalbetrieb, Relais EIN"),
                       QStringLiteral("Normalbetrieb, Relais AUS")));
}

void showStatusPage0404(const QString &message)
{
    const MessageFields f(message);
    show(statusPages().statusPageTemplate0404, message,
         contactValues(f, u'n', QStringLiteral("Netz, ok"), QStringLiteral("Prüftaste")));
}

void showStatusPage2001(const QString &message)
{
    const MessageFields f(message);
    show(statusPages().statusPageTemplate2001, message,
         regulatorValues(f, QStringLiteral("keine Meldung"), QStringLiteral("Meldung")));
}

void showStatusPage2002(const QString &message)
{
    const MessageFields f(message);
    show(statusPages().statusPageTemplate2002, message,
         regulatorValues(f, QStringLiteral("SV OK"), QStringLiteral("SV Ausgefallen")));
}

void showStatusPage0401(const QString &message)
{
    const MessageFields f(message);
    const QString function = codeText(f.at(18), {{u't', "Betriebsdauertest läuft"},
                                                 {u'p', "Kurzprüfung läuft"},
                                                 {u'e', "Normalbetrieb, Relais EIN"},
                                                 {u'a', "Normalbetrieb, Relais AUS"}});
    show(statusPages().statusPageTemplate0401, message,
         controllerValues(f, u'A', QStringLiteral("Aus"), QStringLiteral("Ein"), function));
}

void showStatusPage0402(const QString &message)
{
    const MessageFields f(message);
    const QString function = codeText(f.at(18), {{u't', "Betriebsdauertest läuft"},
                                                 {u'p', "Kurzprüfung läuft"},
                                                 {u'n', "Netzbetrieb"}});
    show(statusPages().statusPageTemplate0402, message,
         controllerValues(f, u'O', kOk, kFehler, function));
}

void showStatusPage0501(const QString &message)
{
    const MessageFields f(message);
    const QStringList faults = {QStringLiteral("OK"), QStringLiteral("Batteriespannungsfehler"),
                                QStringLiteral("Ladefehler"), QStringLiteral("Temperaturfehler"),
                                QStringLiteral("Verbraucherfehler")};
    const QString function = codeText(f.at(18), {{u't', "Betriebsdauertest läuft"},
                                                 {u'p', "Kurzprüfung läuft"},
                                                 {u'n', "Netzbetrieb"},
                                                 {u'a', "Akkubetrieb (Not)"}});
    // The configuration is sent as a letter: "A" is configuration 1.
    const int configuration = int(uchar(codepage::encodeChar(f.at(25)))) - 64;
    show(statusPages().statusPageTemplate0501, message,
         {f.lookup(13, faults), f.lookup(14, faults), hours(f, 15), yesNo(f, 17), function,
          f.duration(19), QString::number(configuration),
          f.text(26, 2) + u',' + f.text(28, 1) + QStringLiteral(" Volt"),
          f.number(29, 2) + u',' + f.text(31, 1) + QStringLiteral(" A"), celsius(f, 32),
          f.version(35)});
}

void showStatusPage1000(const QString &message)
{
    const MessageFields f(message);
    QStringList v = {f.text(13, 3), f.date(16), f.number(22, 3), f.number(25, 3),
                     f.dateAndTime(28, 40), f.dateAndTime(34, 44)};
    for (int pos = 48; pos <= 68; ++pos)
        v << f.flag(pos, u'0', kOk, kFehler);
    v << f.flag(69, u'0', QStringLiteral("aus"), QStringLiteral("ein"))
      << f.lookup(70, {QStringLiteral("monatlich"), QStringLiteral("wöchentlich"),
                       QStringLiteral("täglich")})
      << f.lookup(71, {QStringLiteral("Montag"), QStringLiteral("Dienstag"),
                       QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"),
                       QStringLiteral("Freitag"), QStringLiteral("Samstag"),
                       QStringLiteral("Sonntag")})
      << f.timeOfDay(72)
      << f.lookup(76, {QStringLiteral("Netzbetrieb"), QStringLiteral("Notbetrieb"),
                       QStringLiteral("Prüfen"), QStringLiteral("Betriebsdauertest"),
                       QStringLiteral("Notbetrieb - Batterie leer")})
      // A unit that never ran a duration test sends dashes; they show in the date layout.
      << f.dateAndTime(77, 89) << f.dateAndTime(83, 93)
      << f.text(97, 4) + QStringLiteral(" Volt");
    const CurrentRow current = currentRow(f.text(101, 4));
    v << current.label << current.value << f.date(105) << f.timeOfDay(111);
    show(statusPages().statusPageTemplate1000, message, v);
}

void showStatusPage0901(const QString &message)
{
    const MessageFields f(message);
    QStringList v = {f.duration(13)};
    v << lightUnit0901States(f, 19) << f.text(24, 2)
      << f.flag(26, u'D', QStringLiteral("Dauerlicht"), QStringLiteral("Bereitschaftslicht"))
      << lightUnit0901States(f, 27) << celsius(f, 32)
      << f.number(35, 3) + QStringLiteral(" Stunden") << millivolts(f, 38) << f.version(41);
    show(statusPages().statusPageTemplate0901, message, v);
}

void showStatusPage0701(const QString &message)
{
    show(statusPages().statusPageTemplate0701, message, lightUnit0701Values(MessageFields(message)));
}

void showStatusPage0601(const QString &message)
{
    show(statusPages().statusPageTemplate0601, message, lightUnit0701Values(MessageFields(message)));
}

PageFiller pageFillerFor(int deviceType)
{
    // In the order of the device-type numbers.
    static constexpr PageFiller fillers[] = {
        showStatusPage0203, showStatusPage0204, showStatusPage2001, showStatusPage0404,
        showStatusPage0403, showStatusPage0701, showStatusPage0401, showStatusPage0402,
        showStatusPage0901, showStatusPage0501, showStatusPage1000, showStatusPage2002,
        showStatusPage0601};
    return deviceType >= 1 && deviceType <= 13 ? fillers[deviceType - 1] : nullptr;
}
