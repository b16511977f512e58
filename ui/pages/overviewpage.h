#pragma once
// The overview page: every registered unit with its state, address, device type
// and description, and the operator's actions on the selected unit through the
// buttons under the list and the unit menu on the list.
#include "core/station/stationview.h"

#include <QWidget>

#include <optional>

class HeaderClickSort;
class QLabel;
class QTreeWidget;
class UnitMenu;

class OverviewPage : public QWidget
{
    Q_OBJECT
public:
    explicit OverviewPage(QWidget *frame);

    void showUnitList(const QList<UnitListRow> &rows);
    // The selected unit's address while it is registered, else -1.
    int selectedUnitAddress() const;
    void selectUnitRow(const QString &busAddress);
    // Fills the page frame: the button strip at the foot, the list above it.
    void layoutPage();

    UnitMenu *unitMenu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString selectedAddressText() const;
    // The selected unit's address while it is registered; a unit gone
    // meanwhile is named in a box (missing follows the address) and the list
    // is rebuilt. Nothing when no row is selected.
    std::optional<int> presentSelectedUnit(const char *missing, const QString &title);
    void showSelectedStatus();
    void deleteSelected();
    void editSelected();
    void findSelectedOnBoard();
    void showGroupMenu();

    QLabel *m_help;
    QTreeWidget *m_list;
    QWidget *m_buttons;
    UnitMenu *m_menu;
    // The list keeps its order across every refill.
    HeaderClickSort *m_sort;
};
