#include "ui/pages/unitmenu.h"

#include "core/prompts.h"
#include "core/stationview.h"
#include "core/unitregistry.h"
#include "device/unitcommands.h"
#include "device/unitstatus.h"

namespace {

constexpr int kLastGroup = 99;
constexpr int kGroupsPerMenu = 10;

// An action on the selected unit; nothing happens without one.
template <typename Act>
void onSelected(int above, Act act)
{
    const int addr = appView().selectedUnitAddress();
    if (addr > above)
        act(addr);
}

} // namespace

void queryUnitStatus(int addr)
{
    QString reason;
    if (showUnitStatus(addr, &reason) != kUnitStatusShown)
        appPrompts().message(QStringLiteral("Der Status dieses Gerätes konnte nicht angezeigt werden.\r\nGrund: ")
                                 + reason,
                             QStringLiteral("Status anzeigen"), Prompts::Icon::Critical);
}

UnitMenu::UnitMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("mnuUnitMenu"));
    const auto item = [this](const char *name, const char *caption, auto handler) {
        QAction *action = addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, handler);
    };
    item("mnuUM_BeschreibungAendern", "&Beschreibung ändern",
         [] { onSelected(-1, [](int a) { appView().editUnitDescription(a); }); });
    item("mnuUM_StatusAbfragen", "&Status abfragen", [] { onSelected(-1, queryUnitStatus); });
    item("mnuUM_SendReset", "&Reset an Gerät senden",
         [] { onSelected(0, [](int a) { sendUnitCommand(a, QStringLiteral("R00")); }); });
    item("mnuUM_SendPruefen", "Gerät auf &Prüfen schalten",
         [] { onSelected(0, [](int a) { sendUnitCommand(a, QStringLiteral("P00")); }); });
    item("mnuUM_SendPruefenAus", "Prüf&en beenden senden",
         [] { onSelected(0, [](int a) { sendUnitCommand(a, QStringLiteral("p00")); }); });
    item("mnuUM_ResetErrorState", "&Fehlerstatus zurücksetzen",
         [] { onSelected(-1, [](int) { resetUnitErrorState(); }); });

    m_groups = addMenu(QStringLiteral("Gruppe zuordnen"));
    m_groups->setObjectName(QStringLiteral("mnuGruppeZuordnen"));
    m_groups->addAction(QStringLiteral("Gruppe auswählen"))->setEnabled(false);
    m_groups->addSeparator();
    for (int first = 1; first <= kLastGroup; first += kGroupsPerMenu) {
        const int last = qMin(first + kGroupsPerMenu - 1, kLastGroup);
        QMenu *range = m_groups->addMenu(QStringLiteral("%1-%2").arg(first).arg(last));
        range->setObjectName(QStringLiteral("mnuGrpZuOrd%1").arg(first / kGroupsPerMenu));
        for (int group = first; group <= last; ++group)
            connect(range->addAction(QString::number(group)), &QAction::triggered, this,
                    [group] { ordneGruppeZu(group); });
    }
}

void UnitMenu::ordneGruppeZu(int group)
{
    onSelected(0, [group](int a) { assignGroup(a, group); });
}
