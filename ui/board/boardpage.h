#pragma once
// The board page of the main window: the open board with its labels, its own
// scroll bars, the name box, panning, placing, dragging and deleting labels.
// It owns the open board (OpenBoard) and carries out every operation on it;
// the board's tool bar, menus and dialogs are BoardCommands'.
#include "core/board/openboard.h"

#include <QObject>
#include <QPoint>

class BoardCommands;
class BoardLabel;
class BoardPicture;
class MainWindow;
class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QWidget;

class BoardPage : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSmallStep = 100;
    static constexpr int kLargeStep = 500;

    explicit BoardPage(MainWindow &window);
    ~BoardPage() override;

    OpenBoard &board() { return m_board; }
    BoardPicture *picture() const { return m_picture; }
    QScrollBar *hScroll() const { return m_hScroll; }
    QScrollBar *vScroll() const { return m_vScroll; }
    QMenu *labelMenu() const { return m_labelMenu; }
    BoardCommands &commands() const { return *m_commands; }

    // Opens a new empty board in the lowest free slot, after the question about
    // unsaved edits; a board never stored gives its slot back first. False when
    // the operator cancelled or every slot is taken.
    bool newFormular();
    // The board the station starts with: a new one, or the first stored board
    // when every slot is taken.
    void startFormular();
    // 1 opened, 0 when the operator cancelled the save question. The label of
    // markAddress is scrolled into view.
    int openFormular(int slot, int markAddress = 0);
    // Stores the open board, asking for its name while it has none.
    bool saveFormular();
    void setFormularCaption(const QString &text);
    QString formularCaption() const;
    // Address 0 (or outside 1..1999): the lowest free board address. A position
    // of exactly 0 stands for the visible part's left edge, or 200 below its top.
    void addAddressLabel(int address, double x, double y);
    void removeAddressLabel(int address);
    void deleteFormular(int slot);
    // A new plan picture for the open board; its labels are kept inside it.
    void setPicture(const QString &path, const QPixmap &picture);

    int getSelectedLabel() const;
    void selectLabel(int address);
    void clearLabelSelection();
    void refreshLabelColors();
    void keepAllLabelsInBoard();
    bool showAddressOnBoard(int address);

    bool isEditMode() const;
    void setEditMode(bool on);
    QAction *editModeAction() const { return m_editMode; }

private:
    void showNewBoard(const QPixmap &picture);
    void layoutBoard();
    void centerBoard(int axes);
    void keepLabelInBoard(BoardLabel *label);
    void scrollTo(const BoardLabel *label);
    BoardLabel *placeLabel(int address, const QString &caption, QPointF pos);
    void reportSkippedEntries(const QStringList &notAddresses, const QStringList &repeated);

    void boardPressed(Qt::MouseButton button, QPointF pos);
    void boardDragged(QPointF pos);
    void deleteSelectedLabel();
    void labelPressed(BoardLabel *label, Qt::MouseButton button, QPointF pos);
    void labelDragged(BoardLabel *label, QPointF pos);
    void labelReleased(BoardLabel *label, Qt::MouseButton button);
    void editDescription();

    MainWindow &m_window;
    OpenBoard m_board;
    QWidget *m_view;
    BoardPicture *m_picture;
    QScrollBar *m_hScroll;
    QScrollBar *m_vScroll;
    QWidget *m_captionBox;
    QLabel *m_caption;
    QAction *m_editMode;
    QMenu *m_labelMenu;
    BoardCommands *m_commands;
    bool m_panning = false;
    bool m_labelDrag = false;
    QPoint m_grab;
};
