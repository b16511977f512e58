#include "ui/board/boardpicture.h"

#include "ui/board/boardlabel.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>

namespace {
const QColor kDefaultBlue(0x01, 0x03, 0x56);
} // namespace

BoardPicture::BoardPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBoard"));
    setAccessibleName(QStringLiteral("Formular"));
    setFocusPolicy(Qt::ClickFocus);
}

QPixmap BoardPicture::defaultPicture()
{
    QPixmap picture(800, 600);
    picture.fill(kDefaultBlue);
    // A faint grid, so a pan over the empty board is seen to move it.
    QPainter painter(&picture);
    painter.setPen(kDefaultBlue.lighter(160));
    for (int x = 50; x < picture.width(); x += 50)
        painter.drawLine(x, 0, x, picture.height() - 1);
    for (int y = 50; y < picture.height(); y += 50)
        painter.drawLine(0, y, picture.width() - 1, y);
    return picture;
}

void BoardPicture::showPicture(const QPixmap &picture, QSize size)
{
    m_picture = picture;
    resize(size);
    update();
}

void BoardPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kDefaultBlue);
    painter.drawPixmap(0, 0, m_picture);
}

BoardLabel *BoardPicture::label(int address) const
{
    const auto it = m_labels.find(address);
    return it == m_labels.end() ? nullptr : it->second;
}

BoardLabel *BoardPicture::addLabel(int address, const QString &caption)
{
    auto *added = new BoardLabel(address, caption, this);
    m_labels[address] = added;
    added->show();
    return added;
}

void BoardPicture::removeLabel(int address)
{
    const auto it = m_labels.find(address);
    if (it == m_labels.end())
        return;
    it->second->deleteLater();
    it->second->hide();
    m_labels.erase(it);
}

void BoardPicture::clearLabels()
{
    while (!m_labels.empty())
        removeLabel(m_labels.begin()->first);
}

void BoardPicture::mousePressEvent(QMouseEvent *event) { emit pressed(event->button(), event->position()); }

void BoardPicture::mouseMoveEvent(QMouseEvent *event) { emit dragged(event->position()); }

void BoardPicture::mouseReleaseEvent(QMouseEvent *) { emit released(); }

void BoardPicture::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its release: one Delete removes one label.
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat())
        emit deleteReleased();
    else
        QWidget::keyReleaseEvent(event);
}

QImage readBoardPicture(const QString &path, PictureFault *fault)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (fault) {
        if (!image.isNull())
            *fault = PictureFault::None;
        else if (reader.error() == QImageReader::FileNotFoundError)
            *fault = PictureFault::Missing;
        else if (reader.error() == QImageReader::DeviceError)
            *fault = PictureFault::Unreadable;
        else
            *fault = PictureFault::Damaged;
    }
    return image;
}
