#include "ui/board/boardcommands.h"

#include "core/board/labellist.h"
#include "core/platform/codepage.h"
#include "core/platform/numbertext.h"
#include "core/registry/unitaddress.h"
#include "core/station/prompts.h"
#include "ui/board/boardpage.h"
#include "ui/board/boardpicture.h"
#include "ui/forms/frmformularverwaltung.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <functional>

namespace {

// Each entry is shown by the text before its patterns: "Bitmaps (*.bmp)", "Alle Dateien".
const QString kPictureFilter = QStringLiteral(
    "Alle Bilddateien (*.bmp *.jpg *.gif *.wmf);;Bitmaps (*.bmp) (*.bmp);;JPEG-Files (*.jpg) (*.jpg);;"
    "GIF-Dateien (*.gif) (*.gif);;WMF-Dateien (*.wmf) (*.wmf);;Alle Dateien (*)");

void reportPictureFault(PictureFault fault)
{
    if (fault == PictureFault::Damaged) {
        appPrompts().message(QStringLiteral("Das Bild kann nicht geladen werden. Es ist beschädigt oder das "
                                            "Dateiformat wird nicht unterstützt."),
                             QStringLiteral("Fehler"), Prompts::Icon::Exclamation);
        return;
    }
    const bool missing = fault == PictureFault::Missing;
    appPrompts().message(QStringLiteral("%1: %2").arg(kProgramTitle, missing
                                                          ? QStringLiteral("Datei nicht gefunden")
                                                          : QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")),
                         QStringLiteral("Fehler: %1").arg(missing ? 53 : 75), Prompts::Icon::Critical);
}

} // namespace

int typedBoardAddress(const QString &answer)
{
    bool isNumber = false;
    const double value = answer.trimmed().toDouble(&isNumber);
    if (isNumber && value >= -32768.5 && value <= 32767.5) {
        const int number = int(numbertext::roundHalfEven(value));
        if (number != 0)
            return number;
    }
    return parseUnitAddress(answer);
}

BoardCommands::BoardCommands(BoardPage &page, QToolBar *toolBar)
    : QObject(&page), m_page(page), m_toolBar(toolBar)
{
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    m_menu = new QMenu(toolBar->window());
    m_menu->setObjectName(QStringLiteral("mnuFormular"));
    struct Item { const char *name; const char *text; std::function<void()> run; };
    const Item items[] = {
        {"mnuFrmNeu", "&Neu", [this] { m_page.newFormular(); }},
        {"mnuFrmOeffnen", "Ö&ffnen", [this] { manage(); }},
        {"mnuFrmSpeichern", "&Speichern", [this] { m_page.saveFormular(); }},
        {"mnuFrmSpeichernUnter", "Speichern &unter...", [this] { saveAs(); }},
        {nullptr, nullptr, {}},
        {"mnuFrmVerwalten", "&Verwalten", [this] { manage(); }},
    };
    for (const Item &item : items) {
        if (!item.name) {
            m_menu->addSeparator();
            continue;
        }
        QAction *action = m_menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.run);
    }

    toolBar->addAction(QStringLiteral("Formular"), this, [this] {
        m_menu->popup(m_toolBar->mapToGlobal(QPoint(0, m_toolBar->height())));
    });
    toolBar->addAction(QStringLiteral("Bild einfügen"), this, &BoardCommands::insertPicture);
    toolBar->addAction(QStringLiteral("Neue Adresse"), this, &BoardCommands::newAddress);
    toolBar->addAction(QStringLiteral("Adresse löschen"), this, &BoardCommands::deleteAddress);
    toolBar->addAction(page.editModeAction());
}

void BoardCommands::insertPicture()
{
    const QString path = appPrompts().openFile(QStringLiteral("Bild öffnen..."), kPictureFilter);
    if (path.isEmpty())
        return;
    // "Formulare.dat" keeps the path in its code page: one it cannot hold would
    // name another file after the next start.
    if (!codepage::holds(path)) {
        appPrompts().message(QStringLiteral("Der Pfad des Bildes '%1' enthält Zeichen, die nicht gespeichert werden "
                                            "können. Bitte benennen Sie die Datei oder ihren Ordner um.")
                                 .arg(path),
                             QStringLiteral("Fehler"), Prompts::Icon::Exclamation);
        return;
    }
    PictureFault fault = PictureFault::None;
    const QImage image = readBoardPicture(path, &fault);
    if (image.isNull())
        reportPictureFault(fault);
    else
        m_page.setPicture(path, QPixmap::fromImage(image));
}

void BoardCommands::newAddress()
{
    const int free = getFreeBoardAddress();
    if (free < 0) {
        appPrompts().message(QStringLiteral("Alle Adressen stehen bereits auf einem Formular."),
                             QStringLiteral("Neue Adresse"), Prompts::Icon::Exclamation);
    } else if (const QString answer = appPrompts().input(QStringLiteral("Welche Adresse möchten Sie erstellen?"),
                                                         QStringLiteral("Neue Adresse"), QString::number(free));
               !answer.isEmpty()) {
        const int address = typedBoardAddress(answer);
        if (isBoardAddress(address))
            m_page.addAddressLabel(address, 0, 0);
        else
            appPrompts().message(QStringLiteral("Die Adresse '%1' kann nicht erstellt werden").arg(answer),
                                 QStringLiteral("Neue Adresse"), Prompts::Icon::Critical);
    }
    m_page.board().markChanged();
}

void BoardCommands::deleteAddress()
{
    const int address = m_page.getSelectedLabel();
    if (address >= 1 && address <= 1999
        && appPrompts().message(QStringLiteral("Adresse '%1' wirklich löschen?").arg(address),
                                QStringLiteral("Adresse löschen"), Prompts::Icon::Question,
                                Prompts::Buttons::YesNo) == Prompts::Answer::Yes)
        m_page.removeAddressLabel(address);
    m_page.board().markChanged();
}

void BoardCommands::saveAs()
{
    if (m_page.board().saveAs())
        m_page.setFormularCaption(m_page.board().record().name);
}

void BoardCommands::manage()
{
    FrmFormularVerwaltung dialog(m_page, m_toolBar->window());
    dialog.exec();
}
