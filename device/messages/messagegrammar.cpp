#include "device/messages/messagegrammar.h"

#include "device/messages/devicetypes.h"
#include "device/messages/messageheader.h"
#include "device/messages/pattern.h"

#include <array>

namespace {

#define NUVAX_HEADER u"?##??#######"

constexpr QStringView kLamp = NUVAX_HEADER u"[EA]*";
constexpr QStringView kOutputs =
    NUVAX_HEADER u"[01][01][01][01][01][01][01][01][-!][OF][OF][OF][OF][OF][OF][OF][OF][-!][AS]##?";
constexpr QStringView kPallex =
    NUVAX_HEADER u"[OF][OF][OF][OF][OF][OF]##[012345]#[012345]###[012345]#[012345]#"
                 u"[OF][OF][OF][OF][OF][OF]###########*";

// Row i is device type i + 1, as in the device-type table.
constexpr std::array<QStringView, kDeviceTypeCount> kPatterns{
    kLamp,                                                            // 0203
    kLamp,                                                            // 0204
    kOutputs,                                                         // 2001
    NUVAX_HEADER u"[-!][-!][-!][np]##?",                              // 0404
    NUVAX_HEADER u"[-!][-!][-!][ea]##?",                              // 0403
    kPallex,                                                          // 0701
    NUVAX_HEADER u"[AE][AE]##[JN][tpea]##[012345]#[012345]###*",      // 0401
    NUVAX_HEADER u"[OF][OF]##[JN][tpn]##[012345]#[012345]###*",       // 0402
    NUVAX_HEADER u"##[012345]#[012345]#[OF][OF][OF][OF][OF][-0123456789][-0123456789][DB]"
                 u"[OF][OF][OF][OF][OF]###########*",                 // 0901
    NUVAX_HEADER u"[01234][01234]##[JN][tpna]##[012345]#[012345]#?###########*", // 0501
    NUVAX_HEADER u"V##[0123]#[01]#########[0123]#[01]###[0123]#[01]###[012]#[012345]#[012]#[012345]#"
                 u"[01][01][01][01][01][01][01][01][01][01][01][01][01][01][01][01][01][01][01][01][01]"
                 u"[01][012][0123456][012]#[012345]#[01234]"
                 u"[0123-][0123456789-][01-][0123456789-][0123456789-][0123456789-]"
                 u"[0123-][0123456789-][01-][0123456789-][0123456789-][0123456789-]"
                 u"[012-][0123456789-][012345-][0123456789-][012-][0123456789-][012345-][0123456789-]"
                 u"##,#???#[0123]#[01]###[012]#[012345]#????",          // 1000
    kOutputs,                                                         // 2002
    kPallex,                                                          // 0601
};

#undef NUVAX_HEADER

} // namespace

QStringView syntaxPattern(int deviceType)
{
    if (deviceType < 1 || deviceType > kDeviceTypeCount)
        return {};
    return kPatterns[size_t(deviceType - 1)];
}

bool checkSyntax(int deviceType, const QString &message)
{
    const QStringView pattern = syntaxPattern(deviceType);
    return !pattern.isEmpty() && matchesPattern(message, pattern);
}

bool checkMessageSyntax(const QString &message)
{
    return isValidHeader(message) && checkSyntax(getDeviceTypeCode(message), message);
}
