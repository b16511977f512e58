#pragma once
// The station's one top-level window ("Form1" in the operators' manuals): five
// pages under a tab strip, the board's tool strip, the status bar, the
// one-second timer that drives the tick, and the tray icon. It is also the
// window the core and the bus reach through StationView.
#include "core/station/stationview.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class BoardPage;
class BoardToolStrip;
class ConfigPage;
class HomePage;
class OverviewPage;
class LogbookPage;
class OperatorInputHold;
class QLabel;
class QTabBar;
class QTimer;
class StationForms;
class StationStatusBar;
class TrayIcon;

class MainWindow : public QMainWindow, public StationView
{
    Q_OBJECT
public:
    static constexpr int kPageCount = 5;
    static constexpr int kVersionMajor = 1;
    static constexpr int kVersionMinor = 0;

    // What the board page tells the window about its open board at closing.
    struct BoardHooks
    {
        std::function<bool()> changed;   // unsaved changes
        std::function<bool()> save;      // may ask for a name; false when none was given
        std::function<void()> discard;   // drops the unsaved changes
        std::function<void()> start;     // opens the first board once the boards are read
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Fills every page from what start-up has read; the window stays hidden.
    void load();
    // Shows the window once, then maximises it ("/max" wins) or minimises it.
    void showAtStart(bool minimized, bool maximized);

    // Tabs count from 1 (home) to 5 (configuration).
    void selectTab(int tab);
    int selectedTab() const;
    // Shows the page of the selected tab, and the board's tool strip with tab 3.
    void showTab();
    QWidget *page(int index) const { return m_frames[index]; }
    BoardToolStrip *boardToolStrip() const { return m_boardCtrl; }
    OverviewPage *overviewPage() const { return m_overview; }
    BoardPage *boardPage() const { return m_boardPage; }
    StationStatusBar *stationStatusBar() const { return m_statusBar; }
    TrayIcon &trayIcon() const { return *m_tray; }

    void setBoardHooks(BoardHooks hooks) { m_board = std::move(hooks); }
    // A page's own layout of its controls, run (page 0 to 4) whenever a page
    // frame changes its size. The home page and the board's strip are laid out here.
    void setPageLayout(int index, std::function<void()> layout) { m_pageLayouts[index] = std::move(layout); }
    // Closing in order: the board question (when asked for), then every save,
    // then the end of the program. False when the operator chose Cancel.
    bool unload(bool askAboutBoard);

    // StationView
    void setStatusPanel(int panel, const QString &text) override;
    void setDataIndicator(int state) override;
    void showSystemStatus(SystemStatus status, const QString &title, const QString &text) override;
    void showInstanzname(const QString &caption, const QString &name) override;
    QRect windowGeometry() const override;
    void setWindowGeometry(const QRect &rect) override;
    QSize screenSize() const override;
    void showPage(int tab) override;
    void setBusyPointer(bool busy) override;
    void holdOperatorInput(bool held) override;
    void showUnitList(const QList<UnitListRow> &rows) override;
    int selectedUnitAddress() const override;
    void selectUnitRow(const QString &busAddress) override;
    void showStatusPage(const QString &html) override;
    void appendAlert(const QString &text) override;
    void editUnitDescription(int address) override;
    void refreshLabelColors() override;
    bool showAddressOnBoard(int address) override;
    void showLogList(const QStringList &entries) override;
    void showLogText(const QList<LogViewLine> &lines) override;
    void showComSettings(int portIndex, int mode) override;
    void showConnectionStatus(const QString &caption, ConnectionColor background) override;
    void showAutoTestSettings(const QString &pruefung, const QString &dauertest, bool sigResultAktiv,
                              int signalAdr) override;
    void showTaskList(const QList<TaskListRow> &rows) override;
    void showBusBusy(bool busy) override;
    void echoTerminal(const QString &text, bool sent) override;

signals:
    void terminalRequested();
    void expertRequested();
    // "Geräte suchen" of the configuration page: the search wizard, modal.
    void searchRequested();

public slots:
    // One pass of the station's time-driven work, every second.
    void timerTick();
    // SIGTERM, SIGHUP and SIGINT: no question, an unsaved board change is dropped.
    // A close that waits in one of its boxes goes on at once, the boxes closed.
    void terminate();
    // Back from the tray as the icon brings it, and in front of the other
    // windows: a later start of the station asks for it.
    void bringToFront();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restoreFromTray();
    void loadLogo();
    void placeControls();
    void layoutWindow();
    void resizePages();
    void resizeHome();
    void resizePictureboard();
    // What the frame adds to the inner size; nothing before the window is framed.
    QSize frameExtent() const;
    void applyStoredGeometry();

    QWidget *m_area;
    QTabBar *m_tabs;
    QWidget *m_frames[kPageCount];
    HomePage *m_home;
    OverviewPage *m_overview;
    LogbookPage *m_logbook;
    ConfigPage *m_config;
    BoardToolStrip *m_boardCtrl;
    BoardPage *m_boardPage;
    QLabel *m_logo;
    StationStatusBar *m_statusBar;
    QTimer *m_timer;
    TrayIcon *m_tray;
    StationForms *m_forms;
    OperatorInputHold *m_inputHold;
    BoardHooks m_board;
    std::function<void()> m_pageLayouts[kPageCount];
    bool m_ending = false;
    // Set by a signal that overtook the close: the rest of it waits for nobody.
    struct UnattendedEnd;
    std::unique_ptr<UnattendedEnd> m_unattendedEnd;
    bool m_busy = false;
    // The whole window's place and size as stored, until its frame is known.
    QRect m_storedGeometry;
};
