#include "ui/stationstatusbar.h"

#include "ui/stationpictures.h"
#include "ui/widgetmakers.h"

#include <QHBoxLayout>
#include <QLabel>

StationStatusBar::StationStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);

    auto makePanel = [this](const char *name) {
        QLabel *label = plainLabel(QString(), this);
        label->setObjectName(QLatin1String(name));
        label->setContentsMargins(4, 0, 4, 0);
        return label;
    };
    m_version = makePanel("panelVersion");
    m_status = makePanel("panelStatus");
    m_clock = makePanel("panelClock");

    // Panel 3: the activity lamp with its caption beside it.
    m_comIo = new QWidget(this);
    m_comIo->setObjectName(QStringLiteral("panelComIo"));
    m_comIo->setToolTip(QStringLiteral("COM I/O"));
    auto *row = new QHBoxLayout(m_comIo);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(4);
    m_lamp = new QLabel(m_comIo);
    m_lamp->setObjectName(QStringLiteral("panelComIoLamp"));
    m_comIoText = new QLabel(QStringLiteral("COM I/O"), m_comIo);
    m_comIoText->setObjectName(QStringLiteral("panelComIoText"));
    row->addWidget(m_lamp);
    row->addWidget(m_comIoText);
    m_clock->setMinimumWidth(190);
    m_version->setMinimumWidth(170);

    addWidget(m_version);
    addWidget(m_status, 1);
    addPermanentWidget(m_comIo);
    addPermanentWidget(m_clock);
    setIndicator(0);
}

QLabel *StationStatusBar::panel(int number) const
{
    switch (number) {
    case 1: return m_version;
    case 2: return m_status;
    case 3: return m_comIoText;
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
