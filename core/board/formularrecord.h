#pragma once
// The board table: up to 800 floor-plan boards in slots 1..800 (slot 0 is never
// used), and the bit set of the slots that hold a board in this run. Loading
// numbers the stored boards 1, 2, 3 ... in file order. The table lives for the
// whole run.
#include "core/platform/indexbitmap.h"

#include <QDateTime>
#include <QString>
#include <array>

constexpr int kFormularIndexBytes = 100;
constexpr int kMaxFormulare = kFormularIndexBytes * 8;

struct FormularRecord
{
    QString name;
    QString beschreibung;
    QDateTime geaendertAm;      // when the board was created
    QString bild;               // the plan picture's path; empty for the default picture
    bool inUse = false;         // stored: only such boards are written
    QString adressen;           // labels: "012;140;85|S05;300;12|"
    qint32 breite = 0;          // picture size in pixels
    qint32 hoehe = 0;
};

class FormularTable
{
public:
    FormularRecord &at(int slot) { return m_formulare.at(static_cast<size_t>(slot)); }
    const FormularRecord &at(int slot) const { return m_formulare.at(static_cast<size_t>(slot)); }
    IndexBitmap &index() { return m_index; }
    const IndexBitmap &index() const { return m_index; }
    void clear()
    {
        m_formulare = {};
        clearIndexBitmap(m_index);
        forgetStoredCopy();
    }

    // The open board as it was last opened or saved. A save of the table writes
    // this copy for its slot, so the open board's unsaved edits reach the file
    // only through the board's own save.
    void keepStoredCopy(int slot, const FormularRecord &stored)
    {
        m_storedSlot = slot;
        m_stored = stored;
    }
    void forgetStoredCopy() { m_storedSlot = 0; }
    const FormularRecord &stored(int slot) const { return slot == m_storedSlot ? m_stored : at(slot); }

private:
    std::array<FormularRecord, kMaxFormulare + 1> m_formulare;
    int m_storedSlot = 0;
    FormularRecord m_stored;
    IndexBitmap m_index = IndexBitmap(kFormularIndexBytes, '\0');
};

FormularTable &formulare();
