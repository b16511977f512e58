#include "device/messages/messageheader.h"

#include "core/platform/numbertext.h"
#include "core/platform/visiblecontrols.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "device/messages/pattern.h"

MessageHeader MessageHeader::of(const QString &message)
{
    return {message.mid(0, 3), message.mid(3, 2), message.mid(5, 4), message.mid(9, 3)};
}

bool isValidHeader(const QString &message)
{
    return message.size() >= kHeaderLength
           && matchesPattern(QStringView(message).first(kHeaderLength), kHeaderPattern);
}

int remainingLength(const QString &header)
{
    const int total = numbertext::leadingInt(header.mid(9, 3));
    return total < kHeaderLength ? -1 : total - kHeaderLength;
}

int senderAddress(const QString &message)
{
    const int addr = parseUnitAddress(message.left(3));
    return isRegistryAddress(addr) ? addr : -1;
}

QString senderDescription(const QString &message, int part)
{
    const int addr = senderAddress(message);
    return addr < 0 ? QString() : visibleControls(getUnitDescription(addr, part));
}
