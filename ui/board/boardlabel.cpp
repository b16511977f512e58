#include "ui/board/boardlabel.h"

#include "core/registry/unitregistry.h"
#include "core/station/nametables.h"
#include "ui/stationpictures.h"

#include <QMouseEvent>

BoardLabel::BoardLabel(int address, const QString &caption, QWidget *parent)
    : QLabel(caption, parent), m_address(address)
{
    setObjectName(QStringLiteral("lblAdresse%1").arg(address));
    setAccessibleName(caption);
    QFont look(QStringLiteral("Courier New"));
    look.setPointSize(12);
    look.setBold(true);
    setFont(look);
    setFixedSize(kSize);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setBackground(stationpictures::fromWinColor(kColorWhite));
}

void BoardLabel::setSelected(bool selected)
{
    m_selected = selected;
    if (selected)
        setBackground(stationpictures::fromWinColor(kColorCyan));
    else
        showStateColor();
}

void BoardLabel::showStateColor()
{
    const UnitRecord &unit = units().at(m_address);
    const WinColor color = unit.exists ? statusColors()[static_cast<size_t>(unit.state)] : kColorWhite;
    setBackground(stationpictures::fromWinColor(color));
}

void BoardLabel::setBackground(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
}

void BoardLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(this, event->button(), event->position());
}

void BoardLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit dragged(this, event->position());
}

void BoardLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit released(this, event->button());
}
