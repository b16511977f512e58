#pragma once
// The station's icon in the notification area. Its tip is the window caption;
// a left click brings the hidden window back. There is no tray menu.
#include <QObject>
#include <QString>

class QSystemTrayIcon;

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    // The notification area keeps at most 63 characters of a tip.
    static constexpr int kTipLength = 63;

    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    void addTrayIcon(const QString &tip);
    void removeTrayIcon();
    // True from add to remove, even when the desktop refused the icon.
    bool isTrayIconShown() const { return m_visible; }
    QString tip() const { return m_tip; }

    // Whether this desktop has a notification area at all; without one a
    // minimised window must stay reachable from the task bar.
    static bool available();

signals:
    void restoreRequested();

private:
    QSystemTrayIcon *m_icon = nullptr;
    bool m_visible = false;
    QString m_tip;
};
