#include "ui/forms/frmformularverwaltung.h"

#include "core/board/formularrecord.h"
#include "core/board/labellist.h"
#include "core/station/prompts.h"
#include "ui/board/boardpage.h"
#include "ui/forms/frmformulareigenschaften.h"
#include "ui/headerclicksort.h"
#include "ui/widgetmakers.h"

#include <QPushButton>
#include <QTreeWidget>
#include <functional>

namespace {
// 150 and 1200 twips at 15 twips to the pixel.
constexpr int kGap = 10;
constexpr int kButtonsHeight = 80;
constexpr int kMargin = 8;
} // namespace

FrmFormularVerwaltung::FrmFormularVerwaltung(BoardPage &page, QWidget *parent) : QDialog(parent), m_page(page)
{
    setObjectName(QStringLiteral("frmFormularVerwaltung"));
    setWindowTitle(QStringLiteral("Formulare verwalten"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setAccessibleName(windowTitle());
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Beschreibung"),
                             QStringLiteral("# Adressen"), QStringLiteral("Geändert am")});
    // Every column sorts as text, "Geändert am" by time of day first.
    m_sort = new HeaderClickSort(m_list);

    const struct { const char *name; const char *text; std::function<void()> run; } buttons[] = {
        {"Command4", "Ö&ffnen", [this] { openSelected(); }},
        {"Command1", "&Eigenschaften", [this] { editSelected(); }},
        {"Command2", "Lös&chen", [this] { deleteSelected(); }},
        {"Command3", "&Schließen", [this] { close(); }},
    };
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = namedButton(QString::fromUtf8(buttons[i].text), buttons[i].name, this);
        connect(m_buttons[i], &QPushButton::clicked, this, buttons[i].run);
    }

    resize(560, 320);
    loadList();
}

void FrmFormularVerwaltung::loadList()
{
    m_list->clear();
    const FormularTable &table = formulare();
    for (int slot = 1; slot <= table.index().size() * 8; ++slot) {
        const FormularRecord &board = table.at(slot);
        if (!isIndexUsed(slot, table.index()) || !board.inUse)
            continue;
        auto *row = new QTreeWidgetItem(m_list, {board.name, board.beschreibung,
                                                 QString::number(labelCount(board.adressen)),
                                                 board.geaendertAm.toString(QStringLiteral("HH:mm dd.MM.yyyy"))});
        row->setData(0, Qt::UserRole, slot);
    }
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    m_sort->resort();
}

int FrmFormularVerwaltung::selectedSlot() const
{
    const QTreeWidgetItem *row = m_list->currentItem();
    if (!row || !row->isSelected())
        return 0;
    return row->data(0, Qt::UserRole).toInt();
}

void FrmFormularVerwaltung::openSelected()
{
    // Cancel on the save question keeps the dialog open.
    if (const int slot = selectedSlot(); slot > 0 && m_page.openFormular(slot) == 1)
        close();
}

void FrmFormularVerwaltung::editSelected()
{
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    QString name = formulare().at(slot).name;
    QString beschreibung = formulare().at(slot).beschreibung;
    if (FrmFormularEigenschaften::showDialog(this, name, beschreibung)) {
        m_page.board().setFormularInfo(slot, name, beschreibung);
        loadList();
    }
}

void FrmFormularVerwaltung::deleteSelected()
{
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    if (appPrompts().message(QStringLiteral("Wollen Sie das Formular '%1' wirklich löschen?")
                                 .arg(formulare().at(slot).name),
                             QStringLiteral("Löschen"), Prompts::Icon::Question, Prompts::Buttons::YesNo)
        == Prompts::Answer::Yes) {
        m_page.deleteFormular(slot);
        loadList();
    }
}

void FrmFormularVerwaltung::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_list->setGeometry(kMargin, kMargin, width() - 2 * kMargin - kGap, height() - kButtonsHeight);
    const int top = m_list->geometry().bottom() + 1 + kGap;
    int left = m_list->x();
    for (int i = 0; i < 3; ++i) {
        m_buttons[i]->move(left, top);
        left += m_buttons[i]->sizeHint().width() + kGap;
    }
    m_buttons[3]->move(m_list->geometry().right() + 1 - m_buttons[3]->sizeHint().width(), top);
    for (QPushButton *button : m_buttons)
        button->resize(button->sizeHint());
}
