#include "device/operator/unitcommands.h"

#include "core/platform/waits.h"
#include "core/registry/unitaddress.h"
#include "core/station/prompts.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"

namespace {

constexpr int kGroupRepeatPauseMs = 250;

const QString kGroupTitle = QStringLiteral("Gruppe zuordnen");

// An operator's command waits for no one: while the bus is taken it is refused.
bool busFree(const BusClaim &claim)
{
    if (claim.granted())
        return true;
    appPrompts().message(busBusyReason(), QStringLiteral("Achtung"), Prompts::Icon::Exclamation);
    return false;
}

bool written(const QString &frame)
{
    return serialLink().portOpen() && !serialLink().sendCommand(frame);
}

} // namespace

QString groupAssignFrame(int addr, int group)
{
    return formatUnitAddress(addr) + u'G' + formatTwoDigits(group) + u'\n';
}

void sendUnitCommand(int addr, const QString &code)
{
    const BusClaim claim(BusUser::Foreground);
    if (busFree(claim))
        serialLink().sendCommand(u'\n' + formatUnitAddress(addr) + code);
}

void assignGroup(int addr, int group)
{
    const BusClaim claim(BusUser::Foreground);
    if (!busFree(claim))
        return;
    const QString frame = groupAssignFrame(addr, group);
    const bool first = written(frame);
    // The units take the frame twice; nothing else may reach the line between.
    appWaits().sleepMs(kGroupRepeatPauseMs);
    const bool second = written(frame);
    if (first && second)
        appPrompts().message(QStringLiteral("Gruppenzuordnung wurde gesendet!"), kGroupTitle,
                             Prompts::Icon::Information);
    else
        appPrompts().message(QStringLiteral("Die Gruppenzuordnung konnte nicht gesendet werden!"),
                             kGroupTitle, Prompts::Icon::Critical);
}
