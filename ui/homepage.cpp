#include "ui/homepage.h"

#include "ui/stationpictures.h"
#include "ui/widgetmakers.h"

#include <QLabel>

namespace {
constexpr int kWidth = 620;
constexpr int kHeight = 300;
} // namespace

HomePage::HomePage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picHome"));
    setFixedSize(kWidth, kHeight);

    auto *heading = new QLabel(QStringLiteral("Nuvax Systemüberwachung"), this);
    heading->setObjectName(QStringLiteral("Label5"));
    QFont headingFont = heading->font();
    headingFont.setPointSize(headingFont.pointSize() + 8);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setGeometry(0, 0, kWidth, 40);

    m_instanzName = plainLabel(QString(), this);
    m_instanzName->setObjectName(QStringLiteral("lblInstanzName"));
    QFont nameFont = m_instanzName->font();
    nameFont.setPointSize(nameFont.pointSize() + 3);
    m_instanzName->setFont(nameFont);
    m_instanzName->setGeometry(0, 42, kWidth, 26);

    m_ampel = new QLabel(this);
    m_ampel->setObjectName(QStringLiteral("picAmpel"));
    m_ampel->setGeometry(0, 80, 70, 190);

    m_sysStat = plainLabel(QString(), this);
    m_sysStat->setObjectName(QStringLiteral("lblSysStat"));
    QFont statFont = m_sysStat->font();
    statFont.setPointSize(statFont.pointSize() + 4);
    statFont.setBold(true);
    m_sysStat->setFont(statFont);
    m_sysStat->setGeometry(90, 80, kWidth - 90, 30);

    m_sysStatText = plainLabel(QString(), this);
    m_sysStatText->setObjectName(QStringLiteral("lblSysStatText"));
    m_sysStatText->setWordWrap(true);
    m_sysStatText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sysStatText->setGeometry(90, 116, kWidth - 90, kHeight - 116);
}

void HomePage::showSystemStatus(SystemStatus status, const QString &title, const QString &text)
{
    m_ampel->setPixmap(stationpictures::trafficLight(status));
    m_sysStat->setText(title);
    // The lines come joined by CR LF; a label breaks on LF alone.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_sysStatText->setText(shown);
}

void HomePage::showInstanzname(const QString &name) { m_instanzName->setText(name); }
