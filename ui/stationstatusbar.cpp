#include "ui/stationstatusbar.h"

#include "ui/stationpictures.h"

#include <QLabel>

StationStatusBar::StationStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);

    auto makePanel = [this](const char *name) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setContentsMargins(4, 0, 4, 0);
        return label;
    };
    m_version = makePanel("panelVersion");
    m_status = makePanel("panelStatus");
    m_lamp = makePanel("panelComIo");
    m_clock = makePanel("panelClock");

    m_lamp->setToolTip(QStringLiteral("COM I/O"));
    m_lamp->setAlignment(Qt::AlignCenter);
    m_lamp->setMinimumWidth(40);
    m_clock->setMinimumWidth(190);
    m_version->setMinimumWidth(170);

    addWidget(m_version);
    addWidget(m_status, 1);
    addPermanentWidget(m_lamp);
    addPermanentWidget(m_clock);
    setIndicator(0);
}

QLabel *StationStatusBar::panel(int number) const
{
    switch (number) {
    case 1: return m_version;
    case 2: return m_status;
    case 4: return m_clock;
    default: return nullptr;
    }
}

void StationStatusBar::setPanelText(int number, const QString &text)
{
    if (QLabel *label = panel(number))
        label->setText(text);
}

QString StationStatusBar::panelText(int number) const
{
    const QLabel *label = panel(number);
    return label ? label->text() : QString();
}

void StationStatusBar::setIndicator(int kind)
{
    if (kind < 0 || kind > 2 || kind == m_indicator)
        return;
    m_indicator = kind;
    m_lamp->setPixmap(stationpictures::dataIndicator(kind));
}
