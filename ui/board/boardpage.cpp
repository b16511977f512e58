#include "ui/board/boardpage.h"

#include "core/board/labellist.h"
#include "core/registry/unitaddress.h"
#include "core/station/prompts.h"
#include "core/station/stationview.h"
#include "ui/board/boardcommands.h"
#include "ui/board/boardlabel.h"
#include "ui/board/boardpicture.h"
#include "ui/boardtoolstrip.h"
#include "ui/mainwindow.h"
#include "ui/widgetmakers.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>

namespace {

// The edge that keeps a label inside 0..limit; a label larger than the board
// ends with a negative edge.
double keptInside(double edge, int size, int limit)
{
    if (edge < 0)
        return 0;
    return edge + size > limit ? limit - size : edge;
}

} // namespace

BoardPage::BoardPage(MainWindow &window) : QObject(&window), m_window(window)
{
    m_view = new QWidget(window.page(2));
    m_view->setObjectName(QStringLiteral("boardView"));

    m_picture = new BoardPicture(m_view);
    connect(m_picture, &BoardPicture::pressed, this, &BoardPage::boardPressed);
    connect(m_picture, &BoardPicture::dragged, this, &BoardPage::boardDragged);
    connect(m_picture, &BoardPicture::released, this, [this] { m_panning = false; });
    connect(m_picture, &BoardPicture::deleteReleased, this, &BoardPage::deleteSelectedLabel);

    m_hScroll = new QScrollBar(Qt::Horizontal, m_view);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_vScroll = new QScrollBar(Qt::Vertical, m_view);
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar *bar : {m_hScroll, m_vScroll}) {
        bar->setSingleStep(kSmallStep);
        bar->setPageStep(kLargeStep);
    }
    connect(m_hScroll, &QScrollBar::valueChanged, this, [this](int value) { m_picture->move(-value, m_picture->y()); });
    connect(m_vScroll, &QScrollBar::valueChanged, this, [this](int value) { m_picture->move(m_picture->x(), -value); });

    m_captionBox = new QWidget(m_view);
    m_captionBox->setObjectName(QStringLiteral("picFormCaption"));
    m_caption = plainLabel(QStringLiteral("Unbenannt"), m_captionBox);
    m_caption->setObjectName(QStringLiteral("lblFormCaption"));
    m_caption->setAutoFillBackground(true);
    QPalette white = m_caption->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_caption->setPalette(white);
    m_caption->setMargin(2);

    // Its pressed state is the edit mode itself; a click only toggles it.
    m_editMode = new QAction(QStringLiteral("Formular editieren"), this);
    m_editMode->setCheckable(true);

    m_labelMenu = new QMenu(&window);
    m_labelMenu->setObjectName(QStringLiteral("mnuAddressLabel"));
    QAction *describe = m_labelMenu->addAction(QStringLiteral("&Beschreibung ändern"));
    describe->setObjectName(QStringLiteral("mnuBeschreibungAendern"));
    connect(describe, &QAction::triggered, this, &BoardPage::editDescription);

    m_commands = new BoardCommands(*this, window.boardToolStrip()->toolBar());

    window.setPageLayout(2, [this] { layoutBoard(); });
    window.setBoardHooks({[this] { return m_board.isChanged(); },
                          [this] { return saveFormular(); },
                          [this] { m_board.discard(); },
                          [this] { startFormular(); }});
}

BoardPage::~BoardPage() = default;

bool BoardPage::newFormular()
{
    const bool edited = m_board.isChanged();
    if (!m_board.close(Prompts::Icon::Question))
        return false;
    const QPixmap picture = BoardPicture::defaultPicture();
    if (m_board.createBoard(picture.width(), picture.height()) < 0) {
        // The board stays open as it now stands in the table, without the edits just dropped.
        if (edited)
            openFormular(m_board.slot());
        return false;
    }
    showNewBoard(picture);
    return true;
}

void BoardPage::startFormular()
{
    // Every slot holds a stored board: the station starts on the first of
    // them rather than on a board that could never be stored.
    if (!newFormular())
        if (const int slot = firstStoredFormular(); slot > 0)
            openFormular(slot);
}

void BoardPage::showNewBoard(const QPixmap &picture)
{
    m_picture->showPicture(picture);
    layoutBoard();
    setFormularCaption(m_board.record().name);
    m_picture->clearLabels();
    setEditMode(true);
}

int BoardPage::openFormular(int slot, int markAddress)
{
    if (m_board.isChanged())
        m_window.showPage(3);
    // Opened again, the open board keeps its slot even when it was never saved.
    if (!(slot == m_board.slot() ? m_board.askToSave(Prompts::Icon::None) : m_board.close(Prompts::Icon::None)))
        return 0;
    // "Nein" dropped the board to open, a board never saved: a new one takes its place.
    if (!isIndexUsed(slot, formulare().index())) {
        newFormular();
        return 1;
    }
    m_picture->clearLabels();
    const FormularRecord &record = formulare().at(slot);
    setFormularCaption(record.name);

    const QImage image = record.bild.isEmpty() ? QImage() : readBoardPicture(record.bild);
    if (!image.isNull()) {
        m_picture->showPicture(QPixmap::fromImage(image));
    } else if (record.bild.isEmpty()) {
        m_picture->showPicture(BoardPicture::defaultPicture());
    } else {
        m_picture->showPicture(BoardPicture::defaultPicture(), QSize(record.breite, record.hoehe));
        inform(QStringLiteral("Das Bild '%1' konnte nicht geöffnet werden!").arg(record.bild), kProgramTitle,
               Prompts::Icon::None);
    }
    layoutBoard();

    const LabelPlan plan = planLabels(record.adressen);
    for (const auto &[address, entry] : plan.placed) {
        BoardLabel *label = placeLabel(address, entry.text, QPointF(entry.x, entry.y));
        if (markAddress >= 1 && markAddress == address)
            scrollTo(label);
    }
    reportSkippedEntries(plan.notAddresses, plan.repeated);

    setEditMode(false);
    m_board.opened(slot);
    return 1;
}

void BoardPage::reportSkippedEntries(const QStringList &notAddresses, const QStringList &repeated)
{
    if (notAddresses.isEmpty() && repeated.isEmpty())
        return;
    QStringList lines{QStringLiteral("Folgende Einträge der Adressliste wurden übersprungen:")};
    for (const QString &text : notAddresses)
        lines.append(QStringLiteral("'%1' ist keine Adresse").arg(text));
    for (const QString &text : repeated)
        lines.append(QStringLiteral("'%1' steht doppelt in der Liste").arg(text));
    // The numbers the failure of such an entry has always carried: an invalid
    // label index, and a label loaded twice.
    const int number = notAddresses.isEmpty() ? 360 : 340;
    inform(lines.join(u'\n'), QStringLiteral("Fehler: %1").arg(number), Prompts::Icon::Critical);
}

void BoardPage::scrollTo(const BoardLabel *label)
{
    const QWidget *frame = m_window.page(2);
    const int h = label->x() + label->width() - frame->width() / 2;
    const int v = label->y() + label->height() - frame->height() / 2;
    m_hScroll->setValue(std::clamp(h, 0, m_hScroll->maximum()));
    m_vScroll->setValue(std::clamp(v, 0, m_vScroll->maximum()));
}

bool BoardPage::saveFormular()
{
    if (!m_board.save())
        return false;
    setFormularCaption(m_board.record().name);
    setEditMode(false);
    return true;
}

void BoardPage::setFormularCaption(const QString &text)
{
    m_caption->setText(text);
    m_caption->adjustSize();
    m_captionBox->resize(m_caption->size());
}

QString BoardPage::formularCaption() const { return m_caption->text(); }

void BoardPage::addAddressLabel(int address, double x, double y)
{
    if (address <= 0 || address >= kMaxUnitAddress)
        address = getFreeBoardAddress();
    if (address < 0) {
        appPrompts().message(QStringLiteral("Alle Adressen stehen bereits auf einem Formular."),
                             QStringLiteral("Neue Adresse"), Prompts::Icon::Exclamation);
        return;
    }
    if (x == 0)
        x = m_hScroll->value();
    if (y == 0)
        y = m_vScroll->value() + 200;
    const QString text = formatUnitAddress(address);
    const int holder = findFormularOfAddress(address);
    if (holder > 0) {
        appPrompts().message(QStringLiteral("Die Adresse %1 ist bereits auf dem Formular '%2 vorhanden und "
                                            "kann nicht zweimal erstellt werden!")
                                 .arg(text, formulare().at(holder).name),
                             QStringLiteral("Adresse doppelt"), Prompts::Icon::Exclamation);
        return;
    }
    BoardLabel *label = placeLabel(address, text, QPointF(x, y));
    label->raise();
    m_board.setAddressPosition(address, label->x(), label->y());
    m_board.markChanged();
    setEditMode(true);
}

BoardLabel *BoardPage::placeLabel(int address, const QString &caption, QPointF pos)
{
    BoardLabel *label = m_picture->addLabel(address, caption);
    label->move(qRound(pos.x()), qRound(pos.y()));
    label->showStateColor();
    keepLabelInBoard(label);
    connect(label, &BoardLabel::pressed, this, &BoardPage::labelPressed);
    connect(label, &BoardLabel::dragged, this, &BoardPage::labelDragged);
    connect(label, &BoardLabel::released, this, &BoardPage::labelReleased);
    return label;
}

void BoardPage::removeAddressLabel(int address)
{
    m_board.removeAddress(address);
    setEditMode(true);
    m_picture->removeLabel(address);
}

void BoardPage::deleteFormular(int slot)
{
    // The deleted board must not stay on screen, where the next save would store
    // it again: a new one takes its slot, also when every other slot is taken.
    if (m_board.deleteFormular(slot)) {
        const QPixmap picture = BoardPicture::defaultPicture();
        m_board.createBoardIn(slot, picture.width(), picture.height());
        showNewBoard(picture);
    }
}

void BoardPage::setPicture(const QString &path, const QPixmap &picture)
{
    m_picture->showPicture(picture);
    layoutBoard();
    FormularRecord &record = m_board.record();
    record.bild = path;
    record.breite = m_picture->width();
    record.hoehe = m_picture->height();
    keepAllLabelsInBoard();
    m_board.markChanged();
}

int BoardPage::getSelectedLabel() const
{
    for (const auto &[address, label] : m_picture->labels())
        if (label->isSelected())
            return address;
    return -1;
}

void BoardPage::selectLabel(int address)
{
    if (BoardLabel *label = m_picture->label(address)) {
        clearLabelSelection();
        label->setSelected(true);
    }
    m_picture->update();
}

void BoardPage::clearLabelSelection()
{
    if (BoardLabel *label = m_picture->label(getSelectedLabel()))
        label->setSelected(false);
}

void BoardPage::refreshLabelColors()
{
    for (const auto &[address, label] : m_picture->labels())
        label->showStateColor();
}

void BoardPage::keepLabelInBoard(BoardLabel *label)
{
    label->move(qRound(keptInside(label->x(), label->width(), m_picture->width())),
                qRound(keptInside(label->y(), label->height(), m_picture->height())));
}

void BoardPage::keepAllLabelsInBoard()
{
    for (const auto &[address, label] : m_picture->labels())
        keepLabelInBoard(label);
}

bool BoardPage::showAddressOnBoard(int address)
{
    const int slot = findFormularOfAddress(address);
    if (slot < 0)
        return false;
    m_window.showPage(3);
    openFormular(slot, address);
    selectLabel(address);
    return true;
}

bool BoardPage::isEditMode() const { return m_editMode->isChecked(); }

void BoardPage::setEditMode(bool on) { m_editMode->setChecked(on); }

// --- layout ---

void BoardPage::layoutBoard()
{
    auto *frame = static_cast<QFrame *>(m_window.page(2));
    m_view->setGeometry(frame->contentsRect());
    const int w = m_view->width();
    const int h = m_view->height();
    // The measures are taken against the logbook page, which is the board
    // page and its tool strip together.
    const int logbookHeight = h + BoardToolStrip::kHeight;
    const int barWidth = m_vScroll->sizeHint().width();
    const int barHeight = m_hScroll->sizeHint().height();

    m_vScroll->setGeometry(w - barWidth, 0, barWidth, qMax(0, h - barHeight));
    m_vScroll->setRange(0, qMax(0, m_picture->height() - logbookHeight + barWidth + 50));
    m_vScroll->setVisible(m_picture->height() > logbookHeight - barHeight - 40);

    m_hScroll->setGeometry(0, h - barHeight, qMax(0, w - barWidth), barHeight);
    m_hScroll->setRange(0, qMax(0, m_picture->width() - w + barHeight + 10));
    m_hScroll->setVisible(m_picture->width() > w - barWidth);

    if (m_hScroll->isHidden())
        centerBoard(1);
    else
        m_picture->move(-m_hScroll->value(), m_picture->y());
    if (m_vScroll->isHidden())
        centerBoard(2);
    else
        m_picture->move(m_picture->x(), -m_vScroll->value());
    m_captionBox->raise();
}

void BoardPage::centerBoard(int axes)
{
    if (axes & 1)
        m_picture->move((m_view->width() - m_picture->width() - m_vScroll->sizeHint().width()) / 2, m_picture->y());
    if (axes & 2)
        m_picture->move(m_picture->x(),
                        (m_view->height() - m_picture->height() - m_hScroll->sizeHint().height()) / 2);
}

// --- the operator's mouse and keys ---

void BoardPage::boardPressed(Qt::MouseButton button, QPointF pos)
{
    if (button == Qt::LeftButton) {
        m_panning = true;
        m_grab = pos.toPoint();
    } else if (isEditMode()) {
        addAddressLabel(0, pos.x(), pos.y());
    }
}

void BoardPage::boardDragged(QPointF pos)
{
    if (!m_panning)
        return;
    const int dx = qRound(pos.x() - m_grab.x());
    const int dy = qRound(pos.y() - m_grab.y());
    // The board follows the pointer until its near edge reaches the page's
    // edge or its far edge comes 10 pixels inside the scroll bar.
    auto follow = [](int edge, int limit) { return edge > 0 ? 0 : qMax(edge, limit); };
    if (m_hScroll->isHidden())
        centerBoard(1);
    else
        m_picture->move(follow(m_picture->x() + dx, m_view->width() - m_picture->width()
                                                        - m_vScroll->sizeHint().width() - 10),
                        m_picture->y());
    if (m_vScroll->isHidden())
        centerBoard(2);
    else
        m_picture->move(m_picture->x(), follow(m_picture->y() + dy, m_view->height() - m_picture->height()
                                                                        - m_hScroll->sizeHint().height() - 10));
    if (!m_hScroll->isHidden())
        m_hScroll->setValue(-m_picture->x());
    if (!m_vScroll->isHidden())
        m_vScroll->setValue(-m_picture->y());
}

void BoardPage::deleteSelectedLabel()
{
    if (!isEditMode())
        return;
    const int address = getSelectedLabel();
    if (address != -1) {
        removeAddressLabel(address);
        m_board.markChanged();
    }
}

void BoardPage::labelPressed(BoardLabel *label, Qt::MouseButton button, QPointF pos)
{
    selectLabel(label->address());
    if (isEditMode() && button == Qt::LeftButton)
        m_labelDrag = true;
    label->raise();
    m_grab = pos.toPoint();
    // The Delete key goes to the board, as the label takes no focus.
    m_picture->setFocus();
}

void BoardPage::labelDragged(BoardLabel *label, QPointF pos)
{
    if (!m_labelDrag)
        return;
    const double dx = pos.x() - m_grab.x();
    const double dy = pos.y() - m_grab.y();
    label->move(qRound(keptInside(label->x() + dx, label->width(), m_picture->width())),
                qRound(keptInside(label->y() + dy, label->height(), m_picture->height())));
    m_board.markChanged();
}

void BoardPage::labelReleased(BoardLabel *label, Qt::MouseButton button)
{
    if (button == Qt::LeftButton) {
        m_labelDrag = false;
        m_board.setAddressPosition(label->address(), label->x(), label->y());
    } else if (button == Qt::RightButton) {
        m_labelMenu->popup(QCursor::pos());
    }
}

void BoardPage::editDescription()
{
    const int address = getSelectedLabel();
    if (isRegistryAddress(address))
        appView().editUnitDescription(address);
}
