#pragma once
// The entries of the general log in a test's program folder, oldest first,
// without their time stamps.
#include "core/codepage.h"
#include "support/tempappfolder.h"

#include <QStringList>
#include <algorithm>

inline QStringList generalLogEntries(const TempAppFolder &folder)
{
    const QString text = codepage::decode(folder.read(QStringLiteral("logs/Allgemein.log")));
    QStringList entries;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        entries.prepend(line.startsWith(u'[') ? line.mid(line.indexOf(u']') + 2) : line);
    return entries;
}
