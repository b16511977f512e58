#pragma once
// The running state of the two automatic tests. The ini file is the one place
// of truth: every question reads it again, so two tests never overlap, and a
// state left behind by an earlier run of the program is recognised as stale
// because this run did not write it.
#include "core/platform/clock.h"
#include "core/platform/minutewatch.h"

#include <QDateTime>
#include <QString>
#include <optional>

// TestArt values as the schedule, the buttons and the logs pass them.
constexpr int kArtPruefung = 0;
constexpr int kArtDauertest = 1;

// The values of one run that live between ticks.
struct AutoTestRun
{
    // Which states this program instance wrote itself, per kind.
    bool testGestartet[2] = {false, false};
    // The countdown to the poll, in real time since the start.
    Stopwatch testStartZeit;
    // A poll of the units is in progress.
    bool abfrageLaeuft = false;
    // The day's test log, e.g. "AutoTest_2011_03_07.log".
    QString autoTestLogDatei;
    // The write-rights box was shown and no running-state write has succeeded since.
    bool writeRightsBoxShown = false;
    // The minutes each kind's schedule has looked at.
    MinuteWatch scheduleMinutes[2];
    // The slot of each kind last logged as not started, logged once.
    QDateTime unstartedSlot[2];
    // The slot of each kind whose start the ini file did not take: not tried
    // again, as every try would leave its warning.
    QDateTime iniRefusedSlot[2];
};

AutoTestRun &autoTestRun();
// Back to the state of a freshly started program.
void resetAutoTestRun();

// The state read before any write; a new value is written after the read.
bool pruefungIsRunning(std::optional<bool> newValue = std::nullopt);
bool dauertestIsRunning(std::optional<bool> newValue = std::nullopt);

// Writes the running state of a kind and tells whether the ini file took it.
bool writeRunningState(int art, bool value);

QDateTime getPruefungLastRun();
QDateTime getDauertestLastRun();
// Nonzero when written.
int setPruefungLastRun(const QDateTime &when);
int setDauertestLastRun(const QDateTime &when);

// Whether a test of the kind may start now. When it may not and the caller
// passes a text, it receives the reason for the operator.
bool kannTestStarten(int art, QString *reason = nullptr);

// The box that says the ini file cannot be written; once until a write succeeds.
void showWriteRightsBoxOnce();
