#include "device/operator/unitcommands.h"

#include "core/platform/waits.h"
#include "core/registry/unitaddress.h"
#include "core/station/prompts.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/operator/operatorcommand.h"

namespace {

constexpr int kGroupRepeatPauseMs = 250;

const QString kGroupTitle = QStringLiteral("Gruppe zuordnen");

// An operator's command waits for no one: while the bus is taken it is refused.
void showRefusal(const QString &reason)
{
    appPrompts().message(reason, QStringLiteral("Achtung"), Prompts::Icon::Exclamation);
}

bool written(const QString &frame)
{
    return serialLink().portOpen() && !serialLink().sendCommand(frame);
}

// The units take a group frame twice; nothing else may reach the line between.
bool sentTwice(const QString &frame)
{
    const bool first = written(frame);
    appWaits().sleepMs(kGroupRepeatPauseMs);
    const bool second = written(frame);
    return first && second;
}

} // namespace

QString groupAssignFrame(int addr, int group)
{
    return formatUnitAddress(addr) + u'G' + formatTwoDigits(group) + u'\n';
}

void sendUnitCommand(int addr, const QString &code)
{
    QString refusal;
    if (!sendOperatorCommand(u'\n' + formatUnitAddress(addr) + code, &refusal))
        showRefusal(refusal);
}

void assignGroup(int addr, int group)
{
    bool sent = false;
    {
        // The claim covers the sends only: while the box below waits for the
        // operator, tests and tasks must find the bus free.
        const BusClaim claim(BusUser::Foreground);
        if (!claim.granted()) {
            showRefusal(busBusyReason());
            return;
        }
        sent = sentTwice(groupAssignFrame(addr, group));
    }
    if (sent)
        appPrompts().message(QStringLiteral("Gruppenzuordnung wurde gesendet!"), kGroupTitle,
                             Prompts::Icon::Information);
    else
        appPrompts().message(QStringLiteral("Die Gruppenzuordnung konnte nicht gesendet werden!"),
                             kGroupTitle, Prompts::Icon::Critical);
}
