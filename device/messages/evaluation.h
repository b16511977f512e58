#pragma once
// Judging a unit's status message at the end of an automatic test: OK or a
// fault with German fault lines. After a duration test the message is judged
// in capacity mode, where the types that report their battery duration are
// judged by that duration alone.
#include <QString>

// EvalResult
constexpr int kEvalOk = 0;
constexpr int kEvalFault = 1;

struct Evaluation
{
    int result = kEvalFault;
    // Fault lines ("\tFEHLER: reason" CR LF each), or "Gerät OK" CR LF.
    QString text;
};

// The evaluator of one device type 1..13, applied whatever type the message's
// header names. Any other number gives a fault without text.
Evaluation evaluateStatus(int deviceType, const QString &message, bool capacityMode);

// Whether a duration hhmmss reaches the configured battery duration in whole
// hours: 1 hour when it is set to 1, else 3 hours (also when not set).
bool isAkkuLaufzeitOK(const QString &duration);

// Judges the message by its header's device type, appends the result block
// to the test log logFile and returns the unit state (fault or OK). faultText,
// when given, receives the text to store as the unit's fault text.
int evaluateMessage(const QString &message, bool capacityMode, const QString &logFile,
                    QString *faultText = nullptr);
