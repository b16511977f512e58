#include "core/platform/textutil.h"

QString trimNull(const QString &s)
{
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

QString trimTabs(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u'\t')
        ++begin;
    while (end > begin && s.at(end - 1) == u'\t')
        --end;
    return s.mid(begin, end - begin);
}
