#include "core/platform/indexbitmap.h"

namespace {
bool inSet(int i, const IndexBitmap &set) { return i >= 1 && i <= set.size() * 8; }
char mask(int i) { return static_cast<char>(1 << ((i - 1) % 8)); }
} // namespace

bool toggleIndexBit(int i, IndexBitmap &set)
{
    if (!inSet(i, set))
        return false;
    set[(i - 1) / 8] = static_cast<char>(set.at((i - 1) / 8) ^ mask(i));
    return true;
}

void clearIndexBitmap(IndexBitmap &set) { set.fill('\0'); }

bool isIndexUsed(int i, const IndexBitmap &set)
{
    return inSet(i, set) && (set.at((i - 1) / 8) & mask(i)) != 0;
}

int getFreeIndex(const IndexBitmap &set)
{
    for (qsizetype b = 0; b < set.size(); ++b) {
        const auto byte = static_cast<unsigned char>(set.at(b));
        if (byte == 0xFF)
            continue;
        for (int j = 0; j < 8; ++j) {
            if ((byte & (1u << j)) == 0)
                return static_cast<int>(b * 8 + j + 1);
        }
    }
    return -1;
}
