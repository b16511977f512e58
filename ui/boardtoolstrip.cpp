#include "ui/boardtoolstrip.h"

#include "core/station/nametables.h"
#include "ui/stationpictures.h"

#include <QLabel>
#include <QToolBar>

namespace {
constexpr int kRowHeight = 13;
constexpr int kSwatchWidth = 22;
constexpr int kTextWidth = 210;
} // namespace

BoardToolStrip::BoardToolStrip(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBoardCtrl"));
    setFixedHeight(kHeight);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));

    m_legend = new QWidget(this);
    m_legend->setObjectName(QStringLiteral("legend"));
    m_legend->resize(kTextWidth + 4 + kSwatchWidth, 3 * kRowHeight);

    // Worst state first: fault, not yet tested, OK.
    struct Row { int swatch; int text; const char *caption; };
    static const Row rows[] = {{1, 2, "Gerät getestet und Fehler gefunden"},
                               {0, 1, "Gerät noch nicht getestet"},
                               {2, 0, "Gerät getestet und OK"}};
    QFont small = font();
    small.setPixelSize(10);
    for (int row = 0; row < 3; ++row) {
        auto *text = new QLabel(QString::fromUtf8(rows[row].caption), m_legend);
        text->setObjectName(QStringLiteral("lblLegendText%1").arg(rows[row].text));
        text->setFont(small);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        text->setGeometry(0, row * kRowHeight, kTextWidth, kRowHeight);

        auto *swatch = new QLabel(m_legend);
        swatch->setObjectName(QStringLiteral("lblLegendColor%1").arg(rows[row].swatch));
        swatch->setFrameShape(QFrame::Box);
        swatch->setAutoFillBackground(true);
        swatch->setGeometry(kTextWidth + 4, row * kRowHeight + 1, kSwatchWidth, kRowHeight - 2);
        m_swatches[rows[row].swatch] = swatch;
    }
}

void BoardToolStrip::loadLegendColors()
{
    for (int i = 0; i < 3; ++i) {
        QPalette pal = m_swatches[i]->palette();
        pal.setColor(QPalette::Window, stationpictures::fromWinColor(statusColors()[static_cast<size_t>(i)]));
        m_swatches[i]->setPalette(pal);
    }
}

void BoardToolStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int legendLeft = width() - m_legend->width() - 6;
    m_legend->move(legendLeft, (kHeight - m_legend->height()) / 2);
    m_toolBar->setGeometry(0, 0, qMax(0, legendLeft - 4), kHeight);
}
