#pragma once
// The strip above the board page: the board's tool bar on the left and the
// colour legend of the unit states on the right. Shown only with the board page.
#include <QWidget>

class QLabel;
class QToolBar;

class BoardToolStrip : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 41;

    explicit BoardToolStrip(QWidget *parent = nullptr);

    // The board's commands are put here by the board page.
    QToolBar *toolBar() const { return m_toolBar; }
    // Swatch i shows the colour of unit state i.
    void loadLegendColors();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolBar *m_toolBar;
    QWidget *m_legend;
    QLabel *m_swatches[3];
};
