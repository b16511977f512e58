#include "ui/pages/overviewpage.h"

#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/nametables.h"
#include "core/station/prompts.h"
#include "device/messages/devicetypes.h"
#include "ui/headerclicksort.h"
#include "ui/pages/unitmenu.h"
#include "ui/stationpictures.h"
#include "ui/widgetmakers.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

namespace {

enum Column { StateColumn, AddressColumn, TypeColumn, DescriptionColumn };

constexpr int kButtonStripHeight = 40;
constexpr int kMargin = 3;

QIcon stateIcon(int state)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(stationpictures::fromWinColor(statusColors().at(qBound(0, state, 2))));
    painter.drawEllipse(2, 2, 11, 11);
    return QIcon(picture);
}

QString notPresentText(const QString &address, const char *what)
{
    return QStringLiteral("Die Adresse ") + address + QString::fromUtf8(what)
           + QStringLiteral("\r\nDie Liste wird jetzt neu geladen.");
}

} // namespace

OverviewPage::OverviewPage(QWidget *frame) : QWidget(frame)
{
    setObjectName(QStringLiteral("pageUebersicht"));

    m_help = wrappedText(
        QStringLiteral("In dieser Liste werden alle gefundenen Geräte angezeigt. Ist die Liste leer, "
                       "finden Sie die Geräte mit \"Geräte suchen\" auf der Seite \"Konfiguration\"."),
        this);
    m_help->setObjectName(QStringLiteral("Label1"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("UnitList"));
    m_list->setAccessibleName(QStringLiteral("Geräteliste"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHeaderLabels({QString(), QStringLiteral("Adresse"), QStringLiteral("Gerätetyp"),
                             QStringLiteral("Beschreibung")});
    const int widths[] = {20, 50, 200, 500};
    for (int column = StateColumn; column <= DescriptionColumn; ++column)
        m_list->setColumnWidth(column, widths[column]);
    m_list->headerItem()->setTextAlignment(AddressColumn, Qt::AlignCenter);
    m_list->header()->setStretchLastSection(false);
    // The header would keep a direction per column; the list keeps one of its own.
    m_list->setSortingEnabled(false);
    // Right-button events stay with the list: its menu opens on their release.
    m_list->setContextMenuPolicy(Qt::PreventContextMenu);
    m_list->viewport()->installEventFilter(this);

    m_buttons = new QWidget(this);
    m_buttons->setObjectName(QStringLiteral("picUnitButtons"));
    auto *strip = new QHBoxLayout(m_buttons);
    strip->setContentsMargins(0, 4, 0, 4);
    const auto button = [this, strip](const char *name, const char *caption, auto handler) {
        auto *b = namedButton(QString::fromUtf8(caption), name, m_buttons);
        strip->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
    };
    button("Command7", "Fehlerstatus zurücksetzen", [this] {
        if (!selectedAddressText().isNull())
            resetUnitErrorState();
    });
    button("Command6", "Gruppe zuordnen", &OverviewPage::showGroupMenu);
    button("cmdShowStatus", "Status abfragen", &OverviewPage::showSelectedStatus);
    button("cmdDeleteUnit", "Gerät aus Liste löschen", &OverviewPage::deleteSelected);
    button("cmdChangeDescription", "Beschreibung ändern", &OverviewPage::editSelected);
    button("cmdSearchUnitOnPicBoard", "Suche Gerät auf PictureBoard", &OverviewPage::findSelectedOnBoard);
    strip->addStretch();

    m_menu = new UnitMenu(this);

    m_sort = new HeaderClickSort(m_list);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &OverviewPage::editSelected);
}

void OverviewPage::layoutPage()
{
    const auto *frame = parentWidget();
    setGeometry(frame->contentsRect());
    m_help->setGeometry(8, 8, qMax(0, width() - 16), m_help->heightForWidth(qMax(1, width() - 16)));
    m_buttons->setGeometry(0, height() - kButtonStripHeight - kMargin, qMax(0, width() - kMargin),
                           kButtonStripHeight);
    const int top = m_help->geometry().bottom() + 8;
    m_list->setGeometry(0, top, width(), qMax(0, height() - top - kButtonStripHeight));
}

void OverviewPage::showUnitList(const QList<UnitListRow> &rows)
{
    m_list->clear();
    const QBrush red(stationpictures::fromWinColor(kColorRed));
    for (const UnitListRow &row : rows) {
        auto *item = new QTreeWidgetItem(m_list, {row.stateText, row.address, getDeviceTypeName(row.frame),
                                                  row.description});
        item->setIcon(StateColumn, stateIcon(row.state));
        item->setTextAlignment(AddressColumn, Qt::AlignCenter);
        if (row.fault) {
            for (int column = StateColumn; column <= DescriptionColumn; ++column)
                item->setForeground(column, red);
        }
    }
    m_sort->resort();
}

QString OverviewPage::selectedAddressText() const
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(AddressColumn);
}

int OverviewPage::selectedUnitAddress() const
{
    const QString text = selectedAddressText();
    if (text.isNull())
        return -1;
    const int addr = parseUnitAddress(text);
    return isRegistryAddress(addr) && unitExists(addr) ? addr : -1;
}

void OverviewPage::selectUnitRow(const QString &busAddress)
{
    const QList<QTreeWidgetItem *> found = m_list->findItems(busAddress, Qt::MatchExactly, AddressColumn);
    if (found.isEmpty())
        return;
    m_list->setCurrentItem(found.first());
    m_list->scrollToItem(found.first());
}

bool OverviewPage::eventFilter(QObject *watched, QEvent *event)
{
    // The menu opens on the release, as the operator lets go of the button.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        m_menu->popup(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<int> OverviewPage::presentSelectedUnit(const char *missing, const QString &title)
{
    const QString text = selectedAddressText();
    if (text.isNull())
        return std::nullopt;
    const int addr = parseUnitAddress(text);
    if (unitExists(addr))
        return addr;
    appPrompts().message(notPresentText(text, missing), title, Prompts::Icon::Critical);
    // Rebuilt from memory: "Units.dat" would bring back states older than the
    // last save.
    fillUnitList();
    return std::nullopt;
}

void OverviewPage::showSelectedStatus()
{
    if (const auto addr = presentSelectedUnit(" ist nicht vorhanden.", QStringLiteral("Status anzeigen")))
        queryUnitStatus(*addr);
}

void OverviewPage::deleteSelected()
{
    if (const auto addr = presentSelectedUnit(" konnte nicht entfernt werden.", QStringLiteral("Gerät löschen"))) {
        deleteUnit(*addr);
        saveUnits(true);
    }
}

void OverviewPage::editSelected()
{
    const QString text = selectedAddressText();
    if (!text.isNull())
        appView().editUnitDescription(parseUnitAddress(text));
}

void OverviewPage::findSelectedOnBoard()
{
    const QString text = selectedAddressText();
    if (text.isNull() || appView().showAddressOnBoard(parseUnitAddress(text)))
        return;
    appPrompts().message(QStringLiteral("Die Adresse ") + text
                             + QStringLiteral(" konnte auf keinem Formular gefunden werden!"),
                         QStringLiteral("PictureBoard"), Prompts::Icon::Information);
}

void OverviewPage::showGroupMenu()
{
    if (!selectedAddressText().isNull())
        m_menu->groupMenu()->popup(QCursor::pos());
}
