#pragma once
// One address label on the board: the unit's bus address on the colour of its
// state, cyan while selected. It reports the operator's presses, moves and
// releases to the board page, which moves it.
#include <QLabel>

class BoardLabel : public QLabel
{
    Q_OBJECT
public:
    static constexpr QSize kSize{46, 21};

    BoardLabel(int address, const QString &caption, QWidget *parent);

    int address() const { return m_address; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // The colour of the unit's state; the selection mark stays as it is.
    void showStateColor();

signals:
    // Positions inside the label, in pixels.
    void pressed(BoardLabel *label, Qt::MouseButton button, QPointF pos);
    void dragged(BoardLabel *label, QPointF pos);
    void released(BoardLabel *label, Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setBackground(const QColor &color);

    int m_address;
    bool m_selected = false;
};
