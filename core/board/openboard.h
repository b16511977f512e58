#pragma once
// core/board: the floor-plan boards without a widget: the table and
// "Formulare.dat" (formularrecord.h, formularfile.h), the label lists
// (labellist.h) and the open board below. ui/board shows them.
//
// The board table's operations that need no window, and the open board: the
// slot shown on the board page, its two flags, and the copy of it as it was
// last opened or saved. The board page owns one OpenBoard and shows what it
// holds; exactly one board is open from the start of the program on.
#include "core/board/formularrecord.h"
#include "core/station/prompts.h"

// The lowest used slot whose label list holds the address (stored or not); -1 when none.
int findFormularOfAddress(int address);
// The lowest board address that stands on no board; -1 when every one does.
int getFreeBoardAddress();
// The lowest slot of a stored board; -1 when none is stored.
int firstStoredFormular();

class OpenBoard
{
public:
    int slot() const { return m_slot; }
    FormularRecord &record() { return formulare().at(m_slot); }
    // The name was confirmed by the operator or came from the file.
    bool isNamed() const { return m_named; }
    // Edits not yet saved.
    bool isChanged() const { return m_changed; }
    void markChanged() { m_changed = true; }

    // "Formular speichern?" while the board has unsaved edits. Yes saves it,
    // No drops the edits. False when the operator cancelled, also by giving
    // no name after Yes: then nothing changed.
    bool askToSave(Prompts::Icon icon);
    // Before another board takes its place: askToSave, then a board never
    // stored gives its slot back at once. False when the operator cancelled.
    bool close(Prompts::Icon icon);
    // Opens a new, unnamed board of the given picture size in the lowest free
    // slot; -1 after the limit box (shown without waiting while nobody need be
    // at the screen), the open board staying open.
    int createBoard(int width, int height);
    // The same in the given free slot.
    void createBoardIn(int slot, int width, int height);
    // The slot's board has just been shown.
    void opened(int slot);
    // Asks for a name while the board has none; false when none was given,
    // and then nothing is stored.
    bool save();
    // Renames the board in its own slot and stores it; false when no name was given.
    bool saveAs();
    // Back to the board as last opened or saved; a board never saved is
    // dropped with its slot and its labels.
    void discard();

    // The management dialog's commands; each writes "Formulare.dat".
    void setFormularInfo(int slot, const QString &name, const QString &beschreibung);
    // The slot is free again at once. True when the deleted board was the
    // open one, which then has no board until a new one is created in it.
    bool deleteFormular(int slot);

    void setAddressPosition(int address, int x, int y);
    void removeAddress(int address);

private:
    bool store(bool askName);
    void keepStoredCopy();
    // The open board, never stored, is gone with its slot and its labels.
    void drop();

    int m_slot = 0;
    bool m_named = false;
    bool m_changed = false;
};
