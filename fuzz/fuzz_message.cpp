// A status message of any bytes through every function that reads one: the
// header, the grammar, the evaluation in both modes with every battery
// duration, the description of an automatic message, and the status page of a
// message that passed its grammar.
#include "fuzzstation.h"

#include "core/platform/codepage.h"
#include "core/platform/visiblecontrols.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/messages/devicetypes.h"
#include "device/messages/evaluation.h"
#include "device/messages/messagedescriber.h"
#include "device/messages/messagegrammar.h"
#include "device/messages/messageheader.h"
#include "device/pages/pagefillers.h"

#include <QFile>

namespace {

// Whether the text holds no control character but the station's own line breaks and tabs.
bool onlyOwnControls(QString text)
{
    text.remove(QStringLiteral("\r\n")).remove(u'\t');
    return visibleControls(text) == text;
}

// Units whose descriptions the evaluators and describers read, in one, two and
// four parts, at ordinary and special addresses.
void registerUnits()
{
    const struct { int addr; const char *frame; } found[] = {
        {1, "001S00203013"}, {42, "042S00403019"}, {43, "043S00404019"},
        {100, "100S02001034"}, {999, "999S00901042"}, {1007, "S07S00403019"},
    };
    for (const auto &unit : found) {
        addUnit(unit.addr, QString::fromLatin1(unit.frame));
        units().at(unit.addr).description =
            fixedWidth(QStringLiteral("Flur Süd %1 ").arg(unit.addr).repeated(60), kDescriptionWidth);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (FuzzStation::get(), registerUnits(), true);
    Q_UNUSED(ready)
    static int round = 0;
    const QString logFile = QStringLiteral("AutoTest_2011_03_07.log");
    if (++round % 1000 == 0)
        QFile::remove(FuzzStation::get().folder.file(QStringLiteral("logs/") + logFile));

    const QString message = codepage::decode(fuzzBytes(data, size));

    const bool valid = isValidHeader(message);
    const int type = getDeviceTypeCode(message);
    fuzzCheck(type >= 0 && type <= kDeviceTypeCount, "device type in range");
    fuzzCheck(valid || type == 0, "an invalid header has no device type");
    fuzzCheck(getTypeCodeString(message).size() == (valid ? 4 : 0), "type code of four digits");
    fuzzCheck(!getDeviceTypeName(message).isEmpty(), "every message has a type name");
    if (valid)
        fuzzCheck(remainingLength(message) >= -1, "no negative count to read");
    const int sender = senderAddress(message);
    fuzzCheck(sender == -1 || (sender >= 1 && sender <= 2000), "sender is a registry address");

    const bool wellFormed = checkMessageSyntax(message);
    fuzzCheck(!wellFormed || type != 0, "only a known device type has a grammar");
    if (type != 0)
        fuzzCheck(wellFormed == checkSyntax(type, message), "the header's type picks the grammar");

    // The battery duration counts only in capacity mode.
    const struct { bool capacity; int hours; } judgements[] = {{false, 0}, {true, 0}, {true, 1}, {true, 3}};
    for (const auto &[capacity, hours] : judgements) {
        settings().akkulaufzeit = hours;
        QString faultText;
        const int state = evaluateMessage(message, capacity, logFile, &faultText);
        fuzzCheck(state == kStateFault || state == kStateOk, "a judged unit is OK or faulty");
        fuzzCheck(state == kStateFault || wellFormed, "a malformed message is never OK");
        // A fault may come without a line of its own (a "2001" signal without a failed output).
        fuzzCheck(state == kStateFault || faultText == QStringLiteral("\tSTATUS: OK\r\n"), "an OK unit's text");
        fuzzCheck(onlyOwnControls(faultText), "the unit's characters break no line of the fault text");
    }

    const QString description = describeMessage(message);
    fuzzCheck(!description.isEmpty(), "every message has a description");
    fuzzCheck(onlyOwnControls(description), "the unit's characters break no line of the description");

    if (wellFormed)
        pageFillerFor(type)(message);
    return 0;
}
