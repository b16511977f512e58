#include "core/formlogic/terminalecho.h"

QList<EchoRun> terminalRuns(int direction, const QString &text, bool markText)
{
    const bool received = direction == kEchoReceived;
    const WinColor textColor = received ? kColorRed : kColorBlue;
    const WinColor markerColor = received ? kColorGreen : kColorYellow;
    if (!markText) {
        // The box breaks the line once at a line feed, a carriage return or the
        // two together: here each break is one line feed, as many characters as
        // the box holds.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        return {{shown, textColor}};
    }

    QList<EchoRun> runs;
    for (const QChar c : text) {
        const bool marker = c == u'\n' || c == u'\r';
        const WinColor color = marker ? markerColor : textColor;
        const QChar shown = c == u'\n' ? QChar(u'ß') : c == u'\r' ? QChar(u'ü') : c;
        if (runs.isEmpty() || runs.last().color != color)
            runs.append({QString(), color});
        runs.last().text += shown;
    }
    return runs;
}
