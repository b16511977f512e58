#pragma once
// "Formulare.dat": seven lines per board (label list, description, picture,
// creation date, name, width, height), texts between double quotes, the date
// between "#" signs. Windows-1252, CR LF; no header and no count.
#include "core/board/formularrecord.h"

#include <QByteArray>

QByteArray encodeFormular(const FormularRecord &board);

// A board's text as the file keeps it: a double quote would end the value
// early and shift every later board, so it becomes a single quote. A name
// given to a board takes this form at once, so the board shows what is stored.
QString storedFormularText(QString text);

// False after a failure, which the operator has been shown; what was read
// before it stays in the table.
bool loadFormulare();
bool saveFormulare();
