#include "device/messages/messageframing.h"

#include "device/messages/messageheader.h"
#include "device/messages/pattern.h"

#include <algorithm>

namespace {

constexpr QStringView kAutomaticHeader = u"?##.A#######";

// Only a guess at a message's first characters, so stricter than the header:
// a line end or a letter a unit added is no start of an address.
bool mayStartAddress(QChar c) { return (c >= u'0' && c <= u'9') || c == u'S'; }

bool headerAt(QStringView text, qsizetype pos, QStringView headerPattern)
{
    return pos + kHeaderLength <= text.size() && matchesPattern(text.sliced(pos, kHeaderLength), headerPattern);
}

qsizetype findHeader(QStringView text, qsizetype from, QStringView headerPattern)
{
    for (qsizetype pos = std::max<qsizetype>(from, 0); pos + kHeaderLength <= text.size(); ++pos)
        if (headerAt(text, pos, headerPattern))
            return pos;
    return -1;
}

} // namespace

bool beginsAutomaticMessage(QStringView text)
{
    return text.size() >= kHeaderLength && text.sliced(3, 2) == kAutomaticKind;
}

bool isAutomaticHeader(QStringView text) { return headerAt(text, 0, kAutomaticHeader); }

qsizetype findMessageHeader(QStringView text, qsizetype from) { return findHeader(text, from, kHeaderPattern); }

qsizetype findAutomaticHeader(QStringView text, qsizetype from) { return findHeader(text, from, kAutomaticHeader); }

qsizetype declaredLength(QStringView text)
{
    const QString header = text.first(std::min<qsizetype>(text.size(), kHeaderLength)).toString();
    return isValidHeader(header) ? kHeaderLength + std::max(remainingLength(header), 0) : kHeaderLength;
}

qsizetype endBeforeNextMessage(QStringView text) { return findMessageHeader(text, declaredLength(text)); }

qsizetype possibleAutomaticStart(QStringView text, qsizetype from)
{
    // Every token of the pattern takes one character, so a prefix of the
    // pattern matches a prefix of a header.
    for (qsizetype pos = std::max(from, text.size() - kHeaderLength + 1); pos < text.size(); ++pos)
        if (mayStartAddress(text[pos]) && matchesPattern(text.sliced(pos), kAutomaticHeader.first(text.size() - pos)))
            return pos;
    return text.size();
}
