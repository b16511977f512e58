#include "ui/trayicon.h"

#include "ui/stationpictures.h"
#include "ui/widgetmakers.h"

#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject *parent) : QObject(parent) {}

TrayIcon::~TrayIcon() { removeTrayIcon(); }

bool TrayIcon::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::addTrayIcon(const QString &tip)
{
    m_tip = tip.left(kTipLength);
    m_visible = true;
    if (!available())
        return;
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(stationpictures::trayIcon(), this);
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    // The first press of a double click restores already.
                    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                        emit restoreRequested();
                });
    }
    m_icon->setToolTip(plainToolTip(m_tip));
    m_icon->show();
}

void TrayIcon::removeTrayIcon()
{
    if (m_icon)
        m_icon->hide();
    m_visible = false;
}
