#pragma once
// The board itself ("picBoard"): the plan picture at its own size with the
// address labels on it. It reports the operator's presses on the empty board
// and the Delete key to the board page; the labels are kept by address.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <map>

class BoardLabel;

class BoardPicture : public QWidget
{
    Q_OBJECT
public:
    explicit BoardPicture(QWidget *parent);

    // The board takes the given size; a picture smaller than it leaves the
    // rest in the default picture's colour.
    void showPicture(const QPixmap &picture, QSize size);
    void showPicture(const QPixmap &picture) { showPicture(picture, picture.size()); }
    static QPixmap defaultPicture();

    BoardLabel *label(int address) const;
    BoardLabel *addLabel(int address, const QString &caption);
    void removeLabel(int address);
    void clearLabels();
    // Ascending by address.
    const std::map<int, BoardLabel *> &labels() const { return m_labels; }

signals:
    void pressed(Qt::MouseButton button, QPointF pos);
    void dragged(QPointF pos);
    void released();
    void deleteReleased();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QPixmap m_picture;
    std::map<int, BoardLabel *> m_labels;
};

enum class PictureFault { None, Missing, Unreadable, Damaged };
// Reads a plan picture; a null image when it cannot be shown: the file is
// missing or unreadable, or damaged, of a format Qt cannot read or too large.
QImage readBoardPicture(const QString &path, PictureFault *fault = nullptr);
