#pragma once
// "Formulare verwalten": the stored boards, to open, rename, describe or
// delete one. Created for each use, modal over the main window.
#include <QDialog>

class BoardPage;
class HeaderClickSort;
class QPushButton;
class QTreeWidget;

class FrmFormularVerwaltung : public QDialog
{
    Q_OBJECT
public:
    FrmFormularVerwaltung(BoardPage &page, QWidget *parent);

    void loadList();
    QTreeWidget *list() const { return m_list; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The slot of the selected row; 0 when none is selected.
    int selectedSlot() const;
    void openSelected();
    void editSelected();
    void deleteSelected();

    BoardPage &m_page;
    QTreeWidget *m_list;
    QPushButton *m_buttons[4];
    HeaderClickSort *m_sort;
};
