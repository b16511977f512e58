#pragma once
// Two key chords, known only to service staff, open the serial terminal and the
// expert panel from anywhere in the main window. Only Shift+Ctrl+Alt exactly
// counts, so an ordinary shortcut never opens them by accident.
#include <Qt>

enum class HiddenChord { None, Terminal, Expert };

// Judged on the release of the key.
HiddenChord hiddenChordFor(int key, Qt::KeyboardModifiers modifiers);
