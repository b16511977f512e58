#pragma once
// core/station: what the core and the bus say to the operator without knowing
// a widget: this window interface, the prompts and the notices of a cause that
// repeats, the refresh hooks, the station's settings and name tables, and the
// stop request of a signal. ui/ implements the interfaces; tests install
// recorders and scripted prompts.
//
// The few things the core and the bus show on the main window. The main window
// implements this; tests install a recorder. Every method has a do-nothing
// default so the station runs without a window (before it is built, and in tools).
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// Windows colour values, written 0x00BBGGRR as the station's files and logs know them.
using WinColor = quint32;
constexpr WinColor kColorYellow = 0x00FFFF;
constexpr WinColor kColorRed = 0x0000FF;
constexpr WinColor kColorGreen = 0x00FF00;
constexpr WinColor kColorCyan = 0xFFFF00;
constexpr WinColor kColorWhite = 0xFFFFFF;
constexpr WinColor kColorBlue = 0xFF0000;

struct UnitListRow
{
    int state = 0;          // UnitState: picks the row's icon
    QString stateText;      // "n.a.", "Fehler", "OK"
    QString address;        // bus form, "007" or "S05"
    QString frame;          // the unit's message header: the window shows its device-type name
    QString description;
    bool fault = false;     // the whole row in red
};

struct LogViewLine
{
    QString text;           // without line end
    bool hasColor = false;  // a line without colour goes on in the colour before it
    WinColor color = 0;
};

// One row of the task list of the configuration page.
struct TaskListRow
{
    QString status;         // "Aktiv" or "Inaktiv"
    QString taskId;         // the row's tag
    QString beschreibung;
    QString uhrzeit;        // "HH:mm"
    QString aktion;
    QString monate;         // names joined by ", "
    QString wochentage;
};

enum class SystemStatus { Fault = 1, Unknown = 2, Ok = 3 };

// Background of the adapter's connection label on the configuration page.
enum class ConnectionColor { Neutral, Red, Green, Unchanged };

class StationView
{
public:
    virtual ~StationView() = default;

    // Panels of the status bar, numbered 1 to 4; panel 2 carries the running activity.
    virtual void setStatusPanel(int panel, const QString &text) { Q_UNUSED(panel) Q_UNUSED(text) }
    // Data-activity indicator: 0 idle, 1 sending, 2 receiving.
    virtual void setDataIndicator(int state) { Q_UNUSED(state) }

    // Serial terminal: every piece of text as it passed the line, sent or received.
    // Called from inside the receive path, so it must not wait for anything.
    virtual void echoTerminal(const QString &text, bool sent) { Q_UNUSED(text) Q_UNUSED(sent) }
    // The adapter's connection label of the configuration page.
    virtual void showConnectionStatus(const QString &caption, ConnectionColor background)
    {
        Q_UNUSED(caption) Q_UNUSED(background)
    }
    // Adds a unit's own status message to the alert window, which comes up on top.
    virtual void appendAlert(const QString &text) { Q_UNUSED(text) }

    // Overview list of registered units.
    virtual void showUnitList(const QList<UnitListRow> &rows) { Q_UNUSED(rows) }
    // Address of the selected overview row, -1 when none or not registered.
    virtual int selectedUnitAddress() const { return -1; }
    virtual void selectUnitRow(const QString &busAddress) { Q_UNUSED(busAddress) }

    // Logbook: the list of logs (shown anew, log view emptied) and one shown log.
    virtual void showLogList(const QStringList &entries) { Q_UNUSED(entries) }
    virtual void showLogText(const QList<LogViewLine> &lines) { Q_UNUSED(lines) }

    // Home page traffic light: picture, title line and three lines of text.
    virtual void showSystemStatus(SystemStatus status, const QString &title, const QString &text)
    {
        Q_UNUSED(status) Q_UNUSED(title) Q_UNUSED(text)
    }

    // The instance name: window caption, tray tip (the icon is put up anew),
    // the home page's name line and the name field of the configuration.
    virtual void showInstanzname(const QString &caption, const QString &name)
    {
        Q_UNUSED(caption) Q_UNUSED(name)
    }
    // The port (0 = "COM1") and the connection mode selected on the configuration
    // page; selecting the mode brings its display up to date.
    virtual void showComSettings(int portIndex, int mode) { Q_UNUSED(portIndex) Q_UNUSED(mode) }
    // Main window position and size in pixels, and the screen it is centred on.
    virtual QRect windowGeometry() const { return {}; }
    virtual void setWindowGeometry(const QRect &rect) { Q_UNUSED(rect) }
    virtual QSize screenSize() const { return {}; }
    // Brings a page of the main window to the front: 1 home, 2 overview,
    // 3 board, 4 logbook, 5 configuration.
    virtual void showPage(int tab) { Q_UNUSED(tab) }
    // The status window shows one unit's status page, a whole HTML page; a
    // later page replaces the one shown. The window opens without blocking.
    virtual void showStatusPage(const QString &html) { Q_UNUSED(html) }
    // The busy pointer while the station waits for a unit the operator asked.
    virtual void setBusyPointer(bool busy) { Q_UNUSED(busy) }
    // While an operator's own exchange owns the bus, the operator's clicks and
    // keys are held off: a box they opened would run its loop inside the
    // exchange's wait and keep the bus from the tests and tasks until closed.
    virtual void holdOperatorInput(bool held) { Q_UNUSED(held) }

    // The automatic-test settings of the configuration page: the two schedule
    // captions, the result-signal box (the address list and the reset button
    // enabled with it) and the chosen signal address, 0 leaving the selection.
    virtual void showAutoTestSettings(const QString &pruefung, const QString &dauertest,
                                      bool sigResultAktiv, int signalAdr)
    {
        Q_UNUSED(pruefung) Q_UNUSED(dauertest) Q_UNUSED(sigResultAktiv) Q_UNUSED(signalAdr)
    }
    // The task list of the configuration page, rebuilt whole.
    virtual void showTaskList(const QList<TaskListRow> &rows) { Q_UNUSED(rows) }
    // The bus is taken by a test, a task or a request, or free again: the port
    // must not be reopened while it is taken.
    virtual void showBusBusy(bool busy) { Q_UNUSED(busy) }
    // The colours of the board's address labels after unit states changed.
    virtual void refreshLabelColors() {}
    // The description editor for one unit, modal over the main window; it
    // writes the registry and "Units.dat" itself on OK.
    virtual void editUnitDescription(int address) { Q_UNUSED(address) }
    // Brings the board page up with the first board that holds the address
    // opened and its label selected; false when no board holds it.
    virtual bool showAddressOnBoard(int address) { Q_UNUSED(address) return false; }
};

StationView &appView();
// nullptr goes back to the do-nothing view.
void installView(StationView *view);
