#pragma once
// A set of used numbers 1 to 8 x N kept in N bytes: number i is bit (i - 1) % 8,
// lowest bit first, of byte (i - 1) / 8. The length never changes.
#include <QByteArray>

using IndexBitmap = QByteArray;

// Marks a free number used and frees a used one. False, and nothing changed,
// for a number outside the set.
bool toggleIndexBit(int i, IndexBitmap &set);
// Every number free; the length stays.
void clearIndexBitmap(IndexBitmap &set);
// False for a number outside the set.
bool isIndexUsed(int i, const IndexBitmap &set);
// The lowest free number, -1 when every number is used.
int getFreeIndex(const IndexBitmap &set);
