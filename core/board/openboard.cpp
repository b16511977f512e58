#include "core/board/openboard.h"

#include "core/board/formularfile.h"
#include "core/board/labellist.h"
#include "core/platform/clock.h"

namespace {

const QString kSaveTitle = QStringLiteral("Speichern");
const QString kNamePrompt = QStringLiteral("Unter welchem Namen soll das Formular gespeichert werden?");

template <typename Visit>
void forEachBoardWithLabels(Visit visit)
{
    const FormularTable &table = formulare();
    for (int slot = 1; slot <= table.index().size() * 8; ++slot)
        if (isIndexUsed(slot, table.index()) && !table.at(slot).adressen.isEmpty())
            if (visit(slot, table.at(slot).adressen))
                return;
}

// The slot is free again at once: a new board may take it in this run.
void freeSlot(int slot)
{
    FormularTable &table = formulare();
    table.at(slot) = FormularRecord{};
    if (isIndexUsed(slot, table.index()))
        toggleIndexBit(slot, table.index());
}

} // namespace

int findFormularOfAddress(int address)
{
    int found = -1;
    forEachBoardWithLabels([&](int slot, const QString &list) {
        if (listHoldsAddress(list, address))
            found = slot;
        return found > 0;
    });
    return found;
}

int getFreeBoardAddress()
{
    IndexBitmap used(250, '\0');
    forEachBoardWithLabels([&](int, const QString &list) {
        for (const QString &entry : labelEntries(list)) {
            const int address = labelAddress(parseLabelEntry(entry).text);
            if (address > 0 && !isIndexUsed(address, used))
                toggleIndexBit(address, used);
        }
        return false;
    });
    for (int address = 1; address <= 1099; ++address)
        if (isBoardAddress(address) && !isIndexUsed(address, used))
            return address;
    return -1;
}

int firstStoredFormular()
{
    const FormularTable &table = formulare();
    for (int slot = 1; slot <= table.index().size() * 8; ++slot)
        if (isIndexUsed(slot, table.index()) && table.at(slot).inUse)
            return slot;
    return -1;
}

bool OpenBoard::askToSave(Prompts::Icon icon)
{
    if (!m_changed)
        return true;
    switch (appPrompts().message(QStringLiteral("Formular speichern?"), kSaveTitle, icon,
                                 Prompts::Buttons::YesNoCancel)) {
    case Prompts::Answer::Cancel: return false;
    case Prompts::Answer::Yes: return save();
    default: discard(); return true;
    }
}

bool OpenBoard::close(Prompts::Icon icon)
{
    if (!askToSave(icon))
        return false;
    if (!formulare().stored(m_slot).inUse)
        drop();
    return true;
}

int OpenBoard::createBoard(int width, int height)
{
    FormularTable &table = formulare();
    const int slot = getFreeIndex(table.index());
    if (slot < 0) {
        inform(QStringLiteral("Es können leider nicht mehr als %1 Formulare erstellt werden!")
                   .arg(table.index().size() * 8),
               QStringLiteral("Neues Formular"), Prompts::Icon::Critical);
        return -1;
    }
    createBoardIn(slot, width, height);
    return slot;
}

void OpenBoard::createBoardIn(int slot, int width, int height)
{
    FormularTable &table = formulare();
    toggleIndexBit(slot, table.index());
    FormularRecord &board = table.at(slot);
    board = FormularRecord{};
    // To the second, as the file keeps it: a board made at midnight is stored as a date alone.
    const QDateTime now = appClock().localNow();
    board.geaendertAm = now.addMSecs(-now.time().msec());
    board.name = QStringLiteral("Formular%1").arg(slot);
    board.breite = width;
    board.hoehe = height;
    m_slot = slot;
    m_named = false;
    m_changed = false;
    keepStoredCopy();
}

void OpenBoard::opened(int slot)
{
    m_slot = slot;
    m_named = true;
    m_changed = false;
    keepStoredCopy();
}

bool OpenBoard::save() { return store(!m_named); }

bool OpenBoard::saveAs() { return store(true); }

bool OpenBoard::store(bool askName)
{
    if (askName) {
        const QString name = appPrompts().input(kNamePrompt, kSaveTitle, record().name, Prompts::Input::Stored);
        if (name.isEmpty())
            return false;
        m_named = true;
        record().name = storedFormularText(name);
    }
    record().inUse = true;
    keepStoredCopy();
    saveFormulare();
    m_changed = false;
    return true;
}

void OpenBoard::discard()
{
    FormularTable &table = formulare();
    if (table.stored(m_slot).inUse)
        table.at(m_slot) = table.stored(m_slot);
    else
        drop();
    m_changed = false;
}

void OpenBoard::drop()
{
    freeSlot(m_slot);
    formulare().forgetStoredCopy();
}

void OpenBoard::setFormularInfo(int slot, const QString &name, const QString &beschreibung)
{
    FormularTable &table = formulare();
    FormularRecord &live = table.at(slot);
    live.name = storedFormularText(name);
    live.beschreibung = storedFormularText(beschreibung);
    live.inUse = true;
    if (slot == m_slot) {
        FormularRecord stored = table.stored(slot);
        stored.name = live.name;
        stored.beschreibung = live.beschreibung;
        stored.inUse = true;
        table.keepStoredCopy(slot, stored);
    }
    saveFormulare();
}

bool OpenBoard::deleteFormular(int slot)
{
    const bool open = slot == m_slot;
    if (open)
        drop();
    else
        freeSlot(slot);
    saveFormulare();
    return open;
}

void OpenBoard::setAddressPosition(int address, int x, int y)
{
    record().adressen = withLabelPosition(record().adressen, address, x, y);
}

void OpenBoard::removeAddress(int address) { record().adressen = withoutLabel(record().adressen, address); }

void OpenBoard::keepStoredCopy() { formulare().keepStoredCopy(m_slot, record()); }
