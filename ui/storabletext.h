#pragma once
// Fields whose text is written to one of the station's files take only what
// the files' code page holds, so what the operator sees is what is stored.
class QLineEdit;

// A key or a paste that would bring in a character the code page cannot hold
// is refused whole with a beep; the field keeps the text it had.
void takeOnlyStorableText(QLineEdit *field);
