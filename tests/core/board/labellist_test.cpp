#include "core/board/labellist.h"
#include "core/board/openboard.h"

#include "support/stationfiles.h"

using BoardAddresses = StationFiles;

TEST(LabelList, EntriesAreReadWrittenAndEditedInPlace)
{
    // The last entry lacks its "|": it is no label.
    const QString stored = QStringLiteral("012;140;85|S05;-3;x|007;1;2");
    EXPECT_EQ(labelEntries(stored), (QStringList{QStringLiteral("012;140;85"), QStringLiteral("S05;-3;x")}));
    EXPECT_EQ(labelCount(stored), 2);
    const LabelEntry s05 = parseLabelEntry(QStringLiteral("S05;-3;x"));
    EXPECT_EQ(std::tuple(s05.text, s05.x, s05.y), std::tuple(QStringLiteral("S05"), -3, 0));
    // A label placed on such a list is not run into the unfinished entry.
    EXPECT_EQ(withLabelPosition(stored, 9, 5, 6), QStringLiteral("012;140;85|S05;-3;x|009;5;6|"));

    QString list;
    const struct { bool place; int address, x, y; const char *expected; } steps[] = {
        {true, 12, 140, 85, "012;140;85|"},
        {true, 1005, 300, 12, "012;140;85|S05;300;12|"},
        {true, 12, 141, -4, "012;141;-4|S05;300;12|"},
        {true, 7, 0, 0, "012;141;-4|S05;300;12|007;0;0|"},
        {false, 12, 0, 0, "S05;300;12|007;0;0|"},
        {false, 99, 0, 0, "S05;300;12|007;0;0|"},
    };
    for (const auto &step : steps) {
        list = step.place ? withLabelPosition(list, step.address, step.x, step.y) : withoutLabel(list, step.address);
        EXPECT_EQ(list, QString::fromLatin1(step.expected));
    }
}

TEST(LabelList, OpeningSkipsWhatIsNoBoardAddressAndWhatRepeats)
{
    const LabelPlan plan =
        planLabels(QStringLiteral("012;1;2|X01;0;0|S00;0;0|12;0;0|1500;0;0|S99;5;6|012;9;9|001;3;4|"));
    QList<int> placed;
    for (const auto &[address, entry] : plan.placed)
        placed << address;
    EXPECT_EQ(placed, (QList<int>{12, 1099, 1}));
    EXPECT_EQ(plan.notAddresses, (QStringList{"X01", "S00", "12", "1500"}));
    EXPECT_EQ(plan.repeated, QStringList{"012"});
}

TEST_F(BoardAddresses, TheFreeAddressSkipsEveryBoardAndEndsAtS99)
{
    auto board = [](int slot, const QString &list, bool inUse = true) {
        formulare().at(slot).adressen = list;
        formulare().at(slot).inUse = inUse;
        toggleIndexBit(slot, formulare().index());
    };
    EXPECT_EQ(getFreeBoardAddress(), 1);
    board(2, QStringLiteral("001;0;0|"));
    board(3, QStringLiteral("002;0;0|"), false);  // created, never stored: its labels count
    formulare().at(4).adressen = QStringLiteral("003;0;0|");  // no bit: no board in this run
    EXPECT_EQ(getFreeBoardAddress(), 3);
    EXPECT_EQ(findFormularOfAddress(2), 3);
    EXPECT_EQ(findFormularOfAddress(3), -1);

    QString all;
    for (int address = 1; address <= 999; ++address)
        all = withLabelPosition(all, address, 0, 0);
    board(5, all);
    EXPECT_EQ(getFreeBoardAddress(), 1001);
    EXPECT_EQ(findFormularOfAddress(1), 2);

    QString special;
    for (int address = 1001; address <= 1098; ++address)
        special = withLabelPosition(special, address, 0, 0);
    board(6, special);
    EXPECT_EQ(getFreeBoardAddress(), 1099);
    board(7, QStringLiteral("S99;0;0|"));
    EXPECT_EQ(getFreeBoardAddress(), -1);
}
