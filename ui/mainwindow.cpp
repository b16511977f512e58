#include "ui/mainwindow.h"

#include "core/board/formularfile.h"
#include "core/files/configsections.h"
#include "core/logs/generallog.h"
#include "core/logs/keptentries.h"
#include "core/logs/logbook.h"
#include "core/platform/apppath.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/prompts.h"
#include "core/station/refreshhooks.h"
#include "device/autotest/timertick.h"
#include "device/link/seriallink.h"
#include "ui/board/boardpage.h"
#include "ui/boardtoolstrip.h"
#include "ui/forms/frmeditunitdescription.h"
#include "ui/forms/frmmeldung.h"
#include "ui/forms/frmunitstatus.h"
#include "ui/hiddenchords.h"
#include "ui/homepage.h"
#include "ui/operatorinputhold.h"
#include "ui/pages/configpage.h"
#include "ui/pages/logbookpage.h"
#include "ui/pages/overviewpage.h"
#include "ui/programend.h"
#include "ui/stationforms.h"
#include "ui/stationstatusbar.h"
#include "ui/trayicon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

const QString kCaption = QStringLiteral("Nuvax PC-Zentrale");

struct TabText { const char *caption; const char *tip; };
const TabText kTabs[MainWindow::kPageCount] = {
    {"Home", nullptr},
    {"Übersicht", "Gibt Ihnen eine Übersicht aller überwachten Geräte"},
    {"Pictureboard", "Erstellen Sie auf dem Grundriss eines Gebäudes eine Karte installierter Geräte"},
    {"Logbuch", "Aufzeichnungen von Prüfungen und besonderen Vorkommnissen"},
    {"Konfiguration", "Legen Sie fest, was passieren soll wenn ein Fehler im System gefunden wird"},
};

constexpr int kBoardPage = 2;

// Each box that waits for an answer goes as its Escape would take it.
void closeWaitingBoxes()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QDialog *>(window); box && box->isVisible() && box->isModal())
            box->reject();
}

} // namespace

// A logout or shutdown waits for nobody's OK: a failed save is told without
// waiting, also on standard error, and the next save runs all the same.
struct MainWindow::UnattendedEnd
{
    UnattendedScope unattended;
    LogToStandardError echo;
};

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    resize(1000, 700);

    m_area = new QWidget(this);
    m_area->setObjectName(QStringLiteral("pageArea"));
    setCentralWidget(m_area);
    m_area->installEventFilter(this);

    m_tabs = new QTabBar(m_area);
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    for (const TabText &tab : kTabs) {
        const int index = m_tabs->addTab(QString::fromUtf8(tab.caption));
        if (tab.tip)
            m_tabs->setTabToolTip(index, QString::fromUtf8(tab.tip));
    }

    for (int i = 0; i < kPageCount; ++i) {
        auto *frame = new QFrame(m_area);
        frame->setObjectName(QStringLiteral("Frames%1").arg(i));
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setFrameShadow(QFrame::Sunken);
        frame->installEventFilter(this);
        m_frames[i] = frame;
    }
    m_home = new HomePage(m_frames[0]);
    m_overview = new OverviewPage(m_frames[1]);
    setPageLayout(1, [this] { m_overview->layoutPage(); });
    m_logbook = new LogbookPage(m_frames[3]);
    setPageLayout(3, [this] { m_logbook->setGeometry(m_frames[3]->contentsRect()); });
    m_config = new ConfigPage(m_frames[4]);
    setPageLayout(4, [this] { m_config->setGeometry(m_frames[4]->contentsRect()); });
    connect(m_config, &ConfigPage::searchRequested, this, &MainWindow::searchRequested);

    m_boardCtrl = new BoardToolStrip(m_area);
    m_boardPage = new BoardPage(*this);

    m_logo = new QLabel(m_area);
    m_logo->setObjectName(QStringLiteral("imgLogo"));

    m_statusBar = new StationStatusBar(this);
    setStatusBar(m_statusBar);

    m_tray = new TrayIcon(this);
    connect(m_tray, &TrayIcon::restoreRequested, this, &MainWindow::restoreFromTray);

    // Before the port opens, so the terminal holds the adapter's handshake.
    m_forms = new StationForms(*this);

    connect(m_tabs, &QTabBar::currentChanged, this, [this] { showTab(); });

    // The chords must work whichever control has the focus.
    qApp->installEventFilter(this);
    m_inputHold = new OperatorInputHold(this);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::timerTick);
    m_timer->start();
}

MainWindow::~MainWindow()
{
    setBusyPointer(false);
    qApp->removeEventFilter(this);
}

void MainWindow::load()
{
    selectTab(1);
    placeControls();
    showTab();
    fillUnitList();
    loadFormulare();
    if (m_board.start)
        m_board.start();
    m_boardCtrl->loadLegendColors();
    fillLogList();
    updateSystemStatus();
    m_statusBar->setPanelText(1, QStringLiteral("%1 v%2.%3").arg(kCaption).arg(kVersionMajor).arg(kVersionMinor));
    m_config->fillSignalAddresses();
    runHook(refreshHooks().aktualisiereAPAnzeige);
    runHook(refreshHooks().fillTaskList);
    m_config->selectConfigTab(0);
    loadWindowPos();
    loadLogo();
}

void MainWindow::showAtStart(bool minimized, bool maximized)
{
    show();
    if (maximized)
        showMaximized();
    else if (minimized)
        showMinimized();
}

void MainWindow::selectTab(int tab)
{
    const QSignalBlocker quiet(m_tabs);
    m_tabs->setCurrentIndex(tab - 1);
}

int MainWindow::selectedTab() const { return m_tabs->currentIndex() + 1; }

void MainWindow::showTab()
{
    const int s = selectedTab();
    for (int i = 0; i < kPageCount; ++i)
        m_frames[i]->setVisible(i == s - 1);
    m_boardCtrl->setVisible(s == 3);
}

void MainWindow::timerTick() { ::timerTick(); }

void MainWindow::loadLogo()
{
    const QString path = getAppPath() + QStringLiteral("logo.gif");
    QPixmap logo;
    if (!QFile::exists(path) || !logo.load(path))
        return;
    // The logo stands in the tab strip's row and must not cover the pages.
    const int rowHeight = m_tabs->sizeHint().height();
    if (logo.height() > rowHeight)
        logo = logo.scaledToHeight(rowHeight, Qt::SmoothTransformation);
    m_logo->setPixmap(logo);
    m_logo->resize(logo.size());
    layoutWindow();
}

void MainWindow::placeControls()
{
    const QSize tabSize = m_tabs->sizeHint();
    m_tabs->setGeometry(0, 0, tabSize.width(), tabSize.height());
    const int top = m_tabs->y() + m_tabs->height();
    for (int i = 0; i < kPageCount; ++i)
        m_frames[i]->move(0, i == kBoardPage ? top + BoardToolStrip::kHeight : top);
    layoutWindow();
    updateSystemStatus();
}

void MainWindow::layoutWindow()
{
    const int width = m_area->width();
    const int height = m_area->height();
    m_logo->move(width - m_logo->width() - 15, 0);
    for (QWidget *frame : m_frames)
        frame->resize(width - frame->x(), height - frame->y());
}

void MainWindow::resizePages()
{
    resizeHome();
    for (int i = 1; i < kPageCount; ++i) {
        if (i == kBoardPage)
            resizePictureboard();
        if (m_pageLayouts[i])
            m_pageLayouts[i]();
    }
}

void MainWindow::resizeHome()
{
    const QRect inner = m_frames[0]->contentsRect();
    m_home->move(inner.x() + (inner.width() - m_home->width()) / 2,
                 inner.y() + (inner.height() - m_home->height()) / 3);
}

void MainWindow::resizePictureboard()
{
    const QWidget *board = m_frames[kBoardPage];
    m_boardCtrl->setGeometry(board->x(), m_tabs->y() + m_tabs->height(), board->width(),
                             BoardToolStrip::kHeight);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == m_area)
            layoutWindow();
        else if (std::find(std::begin(m_frames), std::end(m_frames), watched) != std::end(m_frames))
            resizePages();
        return false;
    }
    if (event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        // A key event travels up to the parents when its target ignores it:
        // judge it once, at the widget it was meant for.
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = this;
        if (watched != target || target->window() != this || key->isAutoRepeat())
            return false;
        switch (hiddenChordFor(key->key(), key->modifiers())) {
        case HiddenChord::Terminal: emit terminalRequested(); break;
        case HiddenChord::Expert: emit expertRequested(); break;
        case HiddenChord::None: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Without a notification area a hidden window could not be brought back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayIcon::available())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
}

void MainWindow::restoreFromTray()
{
    if (!isMinimized() && isVisible())
        return;
    bringToFront();
}

void MainWindow::bringToFront()
{
    if (isMinimized() || !isVisible())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!unload(true))
        event->ignore();
}

void MainWindow::terminate()
{
    if (m_ending) {
        // The close stands in one of its boxes: it goes on from there, its port
        // and kept log entries still to come.
        if (!m_unattendedEnd)
            m_unattendedEnd = std::make_unique<UnattendedEnd>();
        closeWaitingBoxes();
        return;
    }
    UnattendedEnd unattended;
    unload(false);
}

bool MainWindow::unload(bool askAboutBoard)
{
    if (m_ending)
        return true;
    if (m_board.changed && m_board.changed()) {
        Prompts::Answer answer = Prompts::Answer::No;
        if (askAboutBoard) {
            selectTab(3);
            showTab();
            answer = appPrompts().message(QStringLiteral("Formular speichern?"), QStringLiteral("Speichern"),
                                          Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
        }
        if (answer == Prompts::Answer::Cancel)
            return false;
        if (answer == Prompts::Answer::Yes) {
            // No name given: nothing is lost, the program keeps running.
            if (!m_board.save())
                return false;
        } else {
            m_board.discard();
        }
    }
    m_ending = true;
    // Each save reports its own failure; the next one runs all the same. Log
    // entries still kept for a disk that was full get a last try.
    saveFormulare();
    saveUnits(true);
    saveWindowPos();
    saveSignalConfig();
    keptLogEntries().tryAgain();
    if (m_tray->isTrayIconShown())
        m_tray->removeTrayIcon();
    // The process ends without closing anything itself: the port's lock file
    // would stay and keep a station of another user out.
    serialLink().closePort();
    endProgram(0);
    return true;
}

// --- what the core and the bus show on this window ---

void MainWindow::setStatusPanel(int panel, const QString &text) { m_statusBar->setPanelText(panel, text); }

void MainWindow::setDataIndicator(int state) { m_statusBar->setIndicator(state); }

void MainWindow::showSystemStatus(SystemStatus status, const QString &title, const QString &text)
{
    m_home->showSystemStatus(status, title, text);
}

void MainWindow::showInstanzname(const QString &caption, const QString &name)
{
    setWindowTitle(caption);
    m_home->showInstanzname(name);
    m_config->showInstanzname(name);
    if (m_tray->isTrayIconShown())
        m_tray->removeTrayIcon();
    m_tray->addTrayIcon(caption);
}

// The stored place and size are the whole window's, frame included.
QRect MainWindow::windowGeometry() const { return frameGeometry(); }

void MainWindow::setWindowGeometry(const QRect &rect)
{
    m_storedGeometry = rect;
    applyStoredGeometry();
}

QSize MainWindow::frameExtent() const { return frameGeometry().size() - size(); }

void MainWindow::applyStoredGeometry()
{
    const QRect stored = std::exchange(m_storedGeometry, QRect());
    if (!stored.isValid())
        return;
    const QSize frame = frameExtent();
    move(stored.topLeft());
    resize(stored.size() - frame);
    // Until the window manager has framed the window its whole size was taken
    // for the inner one: placed again once the frame is known.
    if (frame.isNull())
        m_storedGeometry = stored;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applyStoredGeometry();
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // Framing moves the inner part; without a frame the operator's own moves stay.
    if (!frameExtent().isNull())
        applyStoredGeometry();
}

QSize MainWindow::screenSize() const
{
    const QScreen *shown = screen();
    return shown ? shown->geometry().size() : QSize();
}

void MainWindow::setBusyPointer(bool busy)
{
    // The pointer stack must stay balanced however often a caller repeats itself.
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::holdOperatorInput(bool held) { m_inputHold->setHeld(held); }

void MainWindow::echoTerminal(const QString &text, bool sent) { m_forms->echoTerminal(text, sent); }

void MainWindow::showPage(int tab)
{
    selectTab(tab);
    showTab();
}

void MainWindow::showUnitList(const QList<UnitListRow> &rows) { m_overview->showUnitList(rows); }

int MainWindow::selectedUnitAddress() const { return m_overview->selectedUnitAddress(); }

void MainWindow::selectUnitRow(const QString &busAddress) { m_overview->selectUnitRow(busAddress); }

void MainWindow::showStatusPage(const QString &html) { FrmUnitStatus::showStatus(html); }

void MainWindow::appendAlert(const QString &text) { FrmMeldung::addAlert(text); }

void MainWindow::editUnitDescription(int address)
{
    if (isRegistryAddress(address))
        FrmEditUnitDescription::showForm(this, address);
}
void MainWindow::refreshLabelColors() { m_boardPage->refreshLabelColors(); }

bool MainWindow::showAddressOnBoard(int address) { return m_boardPage->showAddressOnBoard(address); }
void MainWindow::showLogList(const QStringList &entries) { m_logbook->showLogList(entries); }

void MainWindow::showLogText(const QList<LogViewLine> &lines) { m_logbook->showLogText(lines); }

void MainWindow::showComSettings(int portIndex, int mode) { m_config->showComSettings(portIndex, mode); }

void MainWindow::showConnectionStatus(const QString &caption, ConnectionColor background)
{
    m_config->showConnectionStatus(caption, background);
}

void MainWindow::showAutoTestSettings(const QString &pruefung, const QString &dauertest, bool sigResultAktiv,
                                      int signalAdr)
{
    m_config->showAutoTestSettings(pruefung, dauertest, sigResultAktiv, signalAdr);
}

void MainWindow::showTaskList(const QList<TaskListRow> &rows) { m_config->showTaskList(rows); }

void MainWindow::showBusBusy(bool busy) { m_config->showBusBusy(busy); }
