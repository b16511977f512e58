#include "ui/hiddenchords.h"

HiddenChord hiddenChordFor(int key, Qt::KeyboardModifiers modifiers)
{
    // Keypad and Meta state are not part of the chord; the three named keys are.
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held != (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return HiddenChord::None;
    if (key == Qt::Key_J)
        return HiddenChord::Terminal;
    if (key == Qt::Key_K)
        return HiddenChord::Expert;
    return HiddenChord::None;
}
