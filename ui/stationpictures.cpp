#include "ui/stationpictures.h"

#include <QPainter>

namespace stationpictures {

QColor fromWinColor(WinColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QPixmap trafficLight(SystemStatus status)
{
    const int lamp = 44;
    const int margin = 8;
    QPixmap pix(lamp + 2 * margin, 3 * lamp + 4 * margin);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRoundedRect(pix.rect(), 10, 10);

    const QColor lit[3] = {QColor(0xE0, 0x10, 0x10), QColor(0xF0, 0xC0, 0x00), QColor(0x10, 0xC0, 0x20)};
    const int litLamp = status == SystemStatus::Fault ? 0 : status == SystemStatus::Unknown ? 1 : 2;
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == litLamp ? lit[i] : lit[i].darker(400));
        p.drawEllipse(margin, margin + i * (lamp + margin), lamp, lamp);
    }
    return pix;
}

QPixmap dataIndicator(int kind)
{
    QPixmap pix(14, 14);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x40, 0x40, 0x40));
    const QColor colour = kind == 1 ? QColor(0x10, 0xC0, 0x20)
                        : kind == 2 ? QColor(0xF0, 0x90, 0x00)
                                    : QColor(0xB0, 0xB0, 0xB0);
    p.setBrush(colour);
    p.drawEllipse(1, 1, 12, 12);
    return pix;
}

QIcon trayIcon()
{
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x90, 0x30));
    p.drawRoundedRect(1, 1, 30, 30, 6, 6);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(22);
    p.setFont(font);
    p.drawText(pix.rect(), Qt::AlignCenter, QStringLiteral("N"));
    return QIcon(pix);
}

} // namespace stationpictures
