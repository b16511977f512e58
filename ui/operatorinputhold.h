#pragma once
// Holds the operator's clicks and keys off while the operator's own exchange
// with a unit waits for the line. A box or window opened by such input would
// run its loop inside that wait: the exchange could not return, its claim on
// the bus would stay, and the tick would skip every test and task until
// somebody closed the box. So the input is dropped, not queued, under a busy
// pointer; the tick and the received characters go on meanwhile.
#include <QObject>
#include <QPointer>

class QWidget;

class OperatorInputHold : public QObject
{
    Q_OBJECT
public:
    explicit OperatorInputHold(QObject *parent = nullptr);
    ~OperatorInputHold() override;

    void setHeld(bool held);

    // A control that must still act during the hold, such as the Stop of a
    // search. A window marked so also takes its close request and the keys
    // its controls leave to it.
    static void letThrough(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_held = false;
    // The modal window that was open when the hold began; a box the station
    // raises itself during the hold comes on top of it and must be answerable.
    QPointer<QWidget> m_modalAtStart;
};
