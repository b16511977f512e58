#pragma once
// The unit menu of the overview list and its group menu. Every entry acts on
// the unit selected in the overview, which it asks for when chosen.
#include <QMenu>

// Asks the unit for its status: the status window shows the page, a failure
// comes up in a box with its reason.
void queryUnitStatus(int addr);

class UnitMenu : public QMenu
{
    Q_OBJECT
public:
    explicit UnitMenu(QWidget *parent = nullptr);

    // "Gruppe zuordnen": a disabled title, a separator and ten menus of groups.
    QMenu *groupMenu() const { return m_groups; }
    // Puts the selected unit into group 1..99.
    static void ordneGruppeZu(int group);

private:
    QMenu *m_groups;
};
