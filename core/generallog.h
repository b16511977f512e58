#pragma once
// The general log "logs/Allgemein.log": one entry per event, newest first.
#include <QString>

// Adds one entry and refreshes the list of logs. False when the log could not
// be written; the caller goes on either way.
bool logAllgemein(const QString &text);
