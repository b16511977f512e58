#pragma once
// What the task editor reads from the operator and shows back: groups or
// addresses typed as ranges ("3,7,9,13-16,19"), and the slider's time of day.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct RangeInput
{
    QList<int> numbers;     // in the order typed, up to the first refused one
    bool refused = false;
    QString refusedItem;    // the item as typed, for the operator's message
};

// Items are separated by ","; an item with "-" is a range from its first to its
// second piece (nothing when the end lies below the start). Each piece counts
// by its leading digits after leading blanks, no digits giving 0. The first
// number outside low..high ends the input; however many digits it has, it is
// refused like any other.
RangeInput parseRangeInput(const QString &text, int low, int high);

// The chosen numbers low..high ascending, one row each, without leading zeros.
template <size_t N>
QStringList chosenNumberRows(const std::array<bool, N> &chosen, int low, int high)
{
    QStringList rows;
    for (int n = low; n <= high && n < int(N); ++n) {
        if (chosen[size_t(n)])
            rows << QString::number(n);
    }
    return rows;
}

// Minutes of the day as "hh:mm": 0 "00:00", 1439 "23:59".
QString sliderTimeText(int minutes);
