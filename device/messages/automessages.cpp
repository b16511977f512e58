#include "device/messages/automessages.h"

#include "core/logs/generallog.h"
#include "core/platform/clock.h"
#include "core/station/prompts.h"
#include "core/station/stationview.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/messagedescriber.h"
#include "device/messages/messageframing.h"
#include "device/messages/messageheader.h"

#include <QScopedValueRollback>

namespace {
// A message whose length is not reached, and that no other one follows, ends
// where the line falls quiet for this long.
constexpr int kQuietLineMs = 500;
// A line that never falls quiet behind a message ends it after this long, or
// at this many characters.
constexpr qint64 kLongestCollectionMs = 20000;
constexpr qsizetype kLongestMessage = 2000;

bool collecting = false;

qint64 nowMs() { return appClock().monotonicMs(); }

// Ends the message before characters that may be the start of the next one,
// within the longest message.
qsizetype cutOff(QStringView buffer)
{
    return std::min(possibleAutomaticStart(buffer, declaredLength(buffer)), kLongestMessage);
}

// Waits for the end of the automatic message at the buffer's front and
// returns its length; -1 when the wait this runs inside reaches its limit
// first, the message then staying whole at the front.
qsizetype collectMessage(SerialLink &link)
{
    const qint64 giveUpAt = nowMs() + kLongestCollectionMs;
    for (;;) {
        const QString &buffer = link.received();
        if (const qsizetype end = endBeforeNextMessage(buffer); end >= 0)
            return std::min(end, kLongestMessage);
        if (buffer.size() >= kLongestMessage)
            return cutOff(buffer);
        switch (link.watchLine(buffer.size(), kQuietLineMs, giveUpAt)) {
        case SerialLink::LineEvent::Received:
            break;
        case SerialLink::LineEvent::Quiet:
            return std::min(link.received().size(), kLongestMessage);
        case SerialLink::LineEvent::TimeUp:
            if (link.enclosingWaitOver() && nowMs() < giveUpAt)
                return -1;
            return cutOff(link.received());
        }
    }
}

// True when an automatic message stands at the buffer's front. What stands
// in front of a recognisable one is nobody's and goes, so a message never
// hides behind noise or a late answer: unless it is what an exchange waits
// for, the answer that the message follows.
bool automaticMessageAtFront(SerialLink &link, qsizetype firstUnseen)
{
    if (!beginsAutomaticMessage(link.received())) {
        const qsizetype at = findAutomaticHeader(link.received(), std::max<qsizetype>(1, firstUnseen - kHeaderLength + 1));
        const qsizetype awaited = link.charactersAwaited();
        if (at > 0 && (awaited == 0 || at < awaited)) {
            QString nobodys;
            link.takeReceived(int(at), nobodys);
        }
    }
    return beginsAutomaticMessage(link.received());
}

// Hands on every automatic message in a buffer about to be emptied; answers
// and noise go. While the line still carries characters, a message short of
// its length stays, and so do last characters that may begin one.
QString handOnBeforeDrop(const QString &buffer, qint64 quietForMs)
{
    const bool lineQuiet = quietForMs > kQuietLineMs;
    qsizetype from = 0;
    for (qsizetype at; (at = findMessageHeader(buffer, from)) >= 0;) {
        const QStringView message = QStringView(buffer).sliced(at);
        const bool automatic = isAutomaticHeader(message);
        qsizetype end = endBeforeNextMessage(message);
        if (end < 0 && !lineQuiet) {
            if (message.size() < declaredLength(message))
                return automatic ? message.toString() : QString();
            end = cutOff(message);
        }
        if (end < 0)
            end = message.size();
        if (automatic)
            handleAutoStatus(message.first(std::min(end, kLongestMessage)).toString());
        from = at + end;
    }
    return lineQuiet ? QString() : buffer.sliced(possibleAutomaticStart(buffer, from));
}

} // namespace

void checkUnsolicited(qsizetype firstUnseen)
{
    SerialLink &link = serialLink();
    if (collecting || !automaticMessageAtFront(link, firstUnseen))
        return;
    const QScopedValueRollback guard(collecting, true);
    // The collection is one exchange: an operator's request meanwhile is
    // refused and the tick's polls and tasks wait, since emptying the buffer
    // now would cut the message. Under a request that was already waiting the
    // messages are collected all the same, and its answer stays behind them.
    BusTransaction exchange;
    UnattendedScope unattended;
    do {
        const qsizetype length = collectMessage(link);
        if (length < 0) {
            link.examineAgain();
            return;
        }
        QString message;
        link.takeReceived(int(length), message);
        handleAutoStatus(message);
    } while (automaticMessageAtFront(link, 0));
}

void handleAutoStatus(const QString &message)
{
    const QString description = describeMessage(message);
    logAllgemein(QStringLiteral("Automatische Statusmeldung erhalten\r\n") + description
                 + QStringLiteral("\r\n\r\n"));
    appView().appendAlert(description);
}

void installAutoMessageCheck() { serialLink().setAutomaticMessages({checkUnsolicited, handOnBeforeDrop}); }
