// A status message of any bytes through every function that reads one:
// the header, the grammar, the evaluation in both modes with every battery
// duration, and the description of an automatic message.
#include "fuzzstation.h"

#include "core/codepage.h"
#include "device/devicetypes.h"
#include "device/messagegrammar.h"
#include "device/messageheader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzStation::get();
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
    return 0;
}
