#pragma once
#include "core/station/stationview.h"

#include <QMap>

// Keeps what the station last showed, so tests read the screen without a window.
class RecordingView : public StationView
{
public:
    RecordingView();
    ~RecordingView() override;

    void setStatusPanel(int panel, const QString &text) override { panels[panel] = text; }
    void setDataIndicator(int state) override { indicator = state; }
    void echoTerminal(const QString &text, bool sent) override { terminal.append({text, sent}); }
    void showConnectionStatus(const QString &caption, ConnectionColor background) override
    {
        connectionCaption = caption;
        connectionHistory.append(caption);
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
        systemStatus = status;
        statusTitle = title;
        statusText = text;
    }
    void showInstanzname(const QString &newCaption, const QString &name) override
    {
        caption = newCaption;
        instanzname = name;
        ++instanznameShows;
    }
    void showComSettings(int portIndex, int mode) override
    {
        comPortIndex = portIndex;
        comMode = mode;
    }
    QRect windowGeometry() const override { return geometry; }
    void setWindowGeometry(const QRect &rect) override { geometry = rect; }
    QSize screenSize() const override { return screen; }
    void showPage(int tab) override { page = tab; }
    void showStatusPage(const QString &html) override
    {
        statusPage = html;
        ++statusPageShows;
    }
    void setBusyPointer(bool busy) override
    {
        busyPointer = busy;
        ++busyPointerChanges;
    }
    void showAutoTestSettings(const QString &pruefung, const QString &dauertest, bool sigResultAktiv,
                              int signalAdr) override
    {
        pruefungSettings = pruefung;
        dauertestSettings = dauertest;
        signalChecked = sigResultAktiv;
        if (signalAdr >= 1 && signalAdr <= 999)
            signalIndex = signalAdr - 1;
    }
    void showTaskList(const QList<TaskListRow> &rows) override
    {
        taskRows = rows;
        ++taskListFills;
    }
    void refreshLabelColors() override { ++labelColorRefreshes; }

    QMap<int, QString> panels;
    int indicator = -1;
    struct Echo
    {
        QString text;
        bool sent = false;
    };
    QList<Echo> terminal;
    QString connectionCaption;
    QStringList connectionHistory;  // every caption shown, in order
    ConnectionColor connectionColor = ConnectionColor::Neutral;
    QStringList alerts;
    QList<UnitListRow> unitRows;
    int unitListFills = 0;
    int selectedAddress = -1;
    QString selectedRow;
    QStringList logList;
    int logListFills = 0;
    QList<LogViewLine> logLines;
    SystemStatus systemStatus = SystemStatus::Ok;
    QString statusTitle;
    QString statusText;
    QString caption;
    QString instanzname;
    int instanznameShows = 0;
    int comPortIndex = -1;
    int comMode = -1;
    QRect geometry{0, 0, 800, 600};
    QSize screen{1920, 1080};
    int page = 1;
    QString statusPage;
    int statusPageShows = 0;
    bool busyPointer = false;
    int busyPointerChanges = 0;
    QString pruefungSettings;
    QString dauertestSettings;
    bool signalChecked = false;
    int signalIndex = -1;
    QList<TaskListRow> taskRows;
    int taskListFills = 0;
    int labelColorRefreshes = 0;
};
