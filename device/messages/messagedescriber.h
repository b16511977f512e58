#pragma once
// Readable German descriptions of the status messages units send by
// themselves, for the general log and the alert window.
#include <QString>

// Describes the message (trailing CR and LF removed first) by its header's
// device type: signalling contacts, signal input, or the notice that this
// type cannot be read.
QString describeMessage(const QString &message);

QString describeMessage0403(const QString &message);
QString describeMessage0404(const QString &message);
QString describeMessage2001(const QString &message);
QString describeMessageUnsupported(const QString &message);
