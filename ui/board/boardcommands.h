#pragma once
// The board's tool bar ("Formular", "Bild einfügen", "Neue Adresse", "Adresse
// löschen", "Formular editieren") and the menu of its first button. The
// commands ask, confirm and report; the board page carries them out.
#include <QObject>

class BoardPage;
class QMenu;
class QToolBar;

class BoardCommands : public QObject
{
    Q_OBJECT
public:
    BoardCommands(BoardPage &page, QToolBar *toolBar);

    QMenu *formularMenu() const { return m_menu; }

    void insertPicture();
    void newAddress();
    void deleteAddress();
    void saveAs();
    // "Öffnen" and "Verwalten": the management dialog, modal over the main window.
    void manage();

private:
    BoardPage &m_page;
    QToolBar *m_toolBar;
    QMenu *m_menu;
};

// The address typed into "Neue Adresse": a whole number, or else a bus address
// ("S05" is 1005); 0 when it is neither.
int typedBoardAddress(const QString &answer);
