#pragma once
// The main window's status bar: 1 version, 2 running activity, 3 the
// data-activity lamp ("COM I/O"), 4 weekday, date and time.
#include <QStatusBar>

class QLabel;

class StationStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StationStatusBar(QWidget *parent = nullptr);

    // Panels 1 to 4; panel 3's text is the caption beside the lamp. Other
    // numbers change nothing.
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    // 0 idle, 1 sending, 2 receiving; other values change nothing.
    void setIndicator(int kind);
    int indicator() const { return m_indicator; }

private:
    QLabel *panel(int number) const;

    QLabel *m_version;
    QLabel *m_status;
    QWidget *m_comIo;
    QLabel *m_lamp;
    QLabel *m_comIoText;
    QLabel *m_clock;
    int m_indicator = -1;
};
