#pragma once
// The configuration page: the port and its mode, the automatic test and its
// result signal, the unit registry, the scheduled tasks and the instance name,
// each on a tab of its own. The page shows what the station reports and hands
// the operator's actions to the station.
#include "core/station/stationview.h"

#include <QScrollArea>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

class ConfigPage : public QScrollArea
{
    Q_OBJECT
public:
    explicit ConfigPage(QWidget *parent = nullptr);

    void showComSettings(int portIndex, int mode);
    void showConnectionStatus(const QString &caption, ConnectionColor background);
    void showAutoTestSettings(const QString &pruefung, const QString &dauertest, bool sigResultAktiv,
                              int signalAdr);
    void showTaskList(const QList<TaskListRow> &rows);
    void showInstanzname(const QString &name);
    void showBusBusy(bool busy);
    // "001" to "999"; nothing is selected, so the stored signal address stays.
    void fillSignalAddresses();
    void selectConfigTab(int index);

signals:
    void searchRequested();

private:
    QWidget *buildSchnittstelle();
    QWidget *buildAutopruefung();
    QWidget *buildGeraeteverwaltung();
    QWidget *buildTimerfunktionen();
    QWidget *buildProgramm();

    void aktualisiereComModeAnzeige();
    void saveCom();
    void connectAdapter();
    void startTest(int art, const QString &title);
    void signalActivated(bool checked);
    void resetResultSignal();
    void deleteAllUnits();
    void addTask();
    void editTask();
    void removeTask();
    const QTreeWidgetItem *selectedTaskRow() const;
    void saveInstanzname();

    QTabWidget *m_tabs;
    QComboBox *m_port;
    QComboBox *m_mode;
    QPushButton *m_connect;
    QPushButton *m_save;
    QPushButton *m_reset;
    QLabel *m_vk8Status;
    QLabel *m_pruefung;
    QLabel *m_dauertest;
    QCheckBox *m_signalActive;
    QComboBox *m_signalAddress;
    QPushButton *m_resetSignal;
    QTreeWidget *m_taskList;
    QLineEdit *m_instanzname;
    bool m_busBusy = false;
};
