#pragma once
// Fields whose text is written to one of the station's files or to the port
// take only what the files' code page holds, so what the operator sees is what
// is stored or sent; a field of one line keeps its text on one line.
class QLineEdit;

// A key or a paste that would bring in a character the code page cannot hold
// is refused whole with a beep; the field keeps the text it had. The field is
// one line of a file: a line break pasted into it becomes a space.
void takeOnlyStorableText(QLineEdit *field);

// Every other field typed into is one line as well: a number, a time, an
// answer to an input box.
void keepOnOneLine(QLineEdit *field);

// The code page rule alone for the terminal's input, whose line breaks go on
// the wire as they stand: the operator puts them there on purpose.
void takeOnlySendableText(QLineEdit *field);
