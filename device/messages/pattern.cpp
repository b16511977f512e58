#include "device/messages/pattern.h"

namespace {

// Whether c belongs to the list that starts just behind "[" at listBegin.
// Sets listEnd to the position of the closing "]"; false when there is none.
bool inList(QChar c, QStringView pattern, qsizetype listBegin, qsizetype &listEnd)
{
    qsizetype close = listBegin;
    while (close < pattern.size() && pattern[close] != u']')
        ++close;
    listEnd = close;
    if (close >= pattern.size())
        return false;

    const QStringView list = pattern.sliced(listBegin, close - listBegin);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const bool range = i + 2 < list.size() && list[i + 1] == u'-';
        if (range) {
            if (c >= list[i] && c <= list[i + 2])
                return true;
            i += 2;
        } else if (c == list[i]) {
            return true;
        }
    }
    return false;
}

// Whether the single-character token at p accepts c; next receives the
// position behind the token. A "[" without its "]" accepts nothing.
bool tokenAccepts(QStringView pattern, qsizetype p, QChar c, qsizetype &next)
{
    const QChar token = pattern[p];
    next = p + 1;
    if (token == u'?')
        return true;
    if (token == u'#')
        return c >= u'0' && c <= u'9';
    if (token == u'[') {
        qsizetype listEnd = 0;
        const bool found = inList(c, pattern, p + 1, listEnd);
        next = listEnd + 1;
        return found;
    }
    return c == token;
}

} // namespace

bool matchesPattern(QStringView text, QStringView pattern)
{
    // Every token but "*" takes exactly one character, so on a mismatch it is
    // enough to let the latest "*" take one character more and go on from there.
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        qsizetype next = 0;
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && tokenAccepts(pattern, p, text[t], next)) {
            p = next;
            ++t;
        } else if (starP >= 0) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}
