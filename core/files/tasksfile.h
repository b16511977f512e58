#pragma once
// "Tasks.dat": the task table as records of exactly 2537 bytes, no header.
// Every number is little-endian; a Boolean is 16 bits, 0 or -1; a date-time is
// a double of days since 30.12.1899; texts are Windows-1252, blank-padded.
#include "core/files/taskrecord.h"

#include <QByteArray>

constexpr int kTaskRecordSize = 2537;

QByteArray encodeTaskRecord(const TaskRecord &task);
TaskRecord decodeTaskRecord(const QByteArray &bytes);

// The used slots are written in slot order without gaps; the task list is
// refreshed after a load or a save when refresh is set. False after a failure,
// which the operator has been shown.
bool loadTasks(bool refresh);
bool saveTasks(bool refresh);
