#pragma once
// The home page's centre piece: the traffic light of the whole installation,
// its three lines of explanation and the instance name.
#include "core/station/stationview.h"

#include <QWidget>

class QLabel;

class HomePage : public QWidget
{
    Q_OBJECT
public:
    explicit HomePage(QWidget *parent = nullptr);

    void showSystemStatus(SystemStatus status, const QString &title, const QString &text);
    void showInstanzname(const QString &name);

private:
    QLabel *m_ampel;
    QLabel *m_sysStat;
    QLabel *m_sysStatText;
    QLabel *m_instanzName;
};
