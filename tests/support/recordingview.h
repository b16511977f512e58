#pragma once
#include "core/station/stationview.h"

#include <QMap>
#include <functional>

// Keeps what the station last showed, so tests read the screen without a window; onStatus and
// onClock let a test act when a status text (panel 2) or the clock (panel 4) appears.
class RecordingView : public StationView
{
public:
    RecordingView() { installView(this); }
    ~RecordingView() override { installView(nullptr); }

    void setStatusPanel(int panel, const QString &text) override
    {
        panels[panel] = text;
        if (auto hook = panel == 2 ? onStatus : panel == 4 ? onClock : nullptr)
            hook(text);
    }
    void setDataIndicator(int state) override { indicator = state; }
    void echoTerminal(const QString &text, bool sent) override { terminal.append({text, sent}); }
    void showConnectionStatus(const QString &text, ConnectionColor background) override
    {
        connectionCaption = text;
        connectionHistory.append(text);
        if (background != ConnectionColor::Unchanged)
            connectionColor = background;
    }
    void appendAlert(const QString &text) override { alerts.append(text); }
    void showUnitList(const QList<UnitListRow> &rows) override { unitRows = rows; ++unitListFills; }
    int selectedUnitAddress() const override { return selectedAddress; }
    void selectUnitRow(const QString &busAddress) override { selectedRow = busAddress; }
    void showLogList(const QStringList &entries) override { logList = entries; ++logListFills; }
    void showLogText(const QList<LogViewLine> &lines) override { logLines = lines; }
    void showSystemStatus(SystemStatus status, const QString &title, const QString &text) override
    {
        systemStatus = status; statusTitle = title; statusText = text;
    }
    void showInstanzname(const QString &newCaption, const QString &name) override
    {
        caption = newCaption; instanzname = name; ++instanznameShows;
    }
    void showComSettings(int portIndex, int mode) override { comPortIndex = portIndex; comMode = mode; }
    QRect windowGeometry() const override { return geometry; }
    void setWindowGeometry(const QRect &rect) override { geometry = rect; }
    QSize screenSize() const override { return screen; }
    void showPage(int tab) override { page = tab; }
    void showStatusPage(const QString &html) override { statusPage = html; ++statusPageShows; }
    void setBusyPointer(bool busy) override { busyPointer = busy; ++busyPointerChanges; }
    void holdOperatorInput(bool held) override { inputHolds.append(held); }
    void showTaskList(const QList<TaskListRow> &rows) override { taskRows = rows; }
    void refreshLabelColors() override { ++labelColorRefreshes; }

    struct Echo { QString text; bool sent = false; };
    std::function<void(const QString &)> onStatus, onClock;
    QMap<int, QString> panels;
    QList<Echo> terminal;
    QStringList connectionHistory;  // every caption shown, in order
    ConnectionColor connectionColor = ConnectionColor::Neutral;
    QStringList alerts, logList;
    QList<UnitListRow> unitRows;
    int unitListFills = 0, logListFills = 0, selectedAddress = -1, indicator = -1;
    QList<LogViewLine> logLines;
    SystemStatus systemStatus = SystemStatus::Ok;
    QString statusTitle, statusText, caption, instanzname, statusPage, selectedRow, connectionCaption;
    int instanznameShows = 0, comPortIndex = -1, comMode = -1, page = 1, statusPageShows = 0;
    QRect geometry{0, 0, 800, 600};
    QSize screen{1920, 1080};
    bool busyPointer = false;
    QList<bool> inputHolds;  // every switch of the operator's input hold, in order
    int busyPointerChanges = 0, labelColorRefreshes = 0;
    QList<TaskListRow> taskRows;
};
