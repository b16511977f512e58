#include "ui/pages/unitmenu.h"

#include "core/registry/unitregistry.h"
#include "core/station/prompts.h"
#include "core/station/stationview.h"
#include "device/operator/unitcommands.h"
#include "device/pages/unitstatus.h"

namespace {

constexpr int kLastGroup = 99;
constexpr int kGroupsPerMenu = 10;

// An action on the selected unit; nothing happens without one.
template <typename Act>
void onSelected(Act act)
{
    const int addr = appView().selectedUnitAddress();
    if (addr > 0)
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
         [] { onSelected([](int a) { appView().editUnitDescription(a); }); });
    item("mnuUM_StatusAbfragen", "&Status abfragen", [] { onSelected(queryUnitStatus); });
    const auto send = [](const char *code) {
        return [code] { onSelected([code](int a) { sendUnitCommand(a, QString::fromLatin1(code)); }); };
    };
    item("mnuUM_SendReset", "&Reset an Gerät senden", send("R00"));
    item("mnuUM_SendPruefen", "Gerät auf &Prüfen schalten", send("P00"));
    item("mnuUM_SendPruefenAus", "Prüf&en beenden senden", send("p00"));
    item("mnuUM_ResetErrorState", "&Fehlerstatus zurücksetzen",
         [] { onSelected([](int) { resetUnitErrorState(); }); });

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
    onSelected([group](int a) { assignGroup(a, group); });
}
