#include "support/stationfiles.h"

namespace {

void setTexts(int addr, const QString &description, const QString &errorText)
{
    units().at(addr).description = fixedWidth(description, kDescriptionWidth);
    units().at(addr).errorText = fixedWidth(errorText, kErrorTextWidth);
}

} // namespace

using UnitRegistryTest = StationFiles;

TEST_F(UnitRegistryTest, AddDeleteAndCount)
{
    EXPECT_EQ(addUnit(2001, QStringLiteral("x")), -1);
    EXPECT_EQ(deleteUnit(0), -1);
    EXPECT_TRUE(unitExists(0));
    EXPECT_FALSE(unitExists(2000));

    setTexts(12, QStringLiteral("Keller"), QStringLiteral("alt"));
    units().at(12).state = kStateFault;
    // A double quote would break "Units.dat": it is stored as an apostrophe.
    ASSERT_EQ(addUnit(12, QStringLiteral("012\"0020302")), 0);
    const UnitRecord &unit = units().at(12);
    EXPECT_EQ(unit.frame, QStringLiteral("012'0020302 "));
    EXPECT_EQ(std::pair(unit.exists, unit.state), std::pair(true, kStateUnknown));
    EXPECT_EQ(unit.errorText, QString(kErrorTextWidth, u' '));
    EXPECT_EQ(getUnitDescription(12, 1), QStringLiteral("Keller"));

    addUnit(999, QStringLiteral("999S00203060"));
    addUnit(1000, QStringLiteral("S00S00203060"));
    addUnit(2000, QStringLiteral("X00S00203060"));
    EXPECT_EQ(std::pair(countUnits(true), countUnits(false)), std::pair(2, 4));

    units().at(999).state = units().at(1000).state = kStateOk;
    view.systemStatus = SystemStatus::Unknown;
    ASSERT_EQ(deleteUnit(12), 0);
    EXPECT_EQ(view.systemStatus, SystemStatus::Ok);
    EXPECT_FALSE(unit.exists);
    EXPECT_EQ(unit.description, QString(kDescriptionWidth, u' '));
    EXPECT_EQ(unit.frame, QString(kFrameWidth, u' '));
}

TEST_F(UnitRegistryTest, DescriptionSlotsFollowTheTypeCode)
{
    QString text;
    for (int part = 1; part <= 4; ++part)
        text += (QStringLiteral("  Teil ") + QString::number(part)).leftJustified(300, u' ');
    const struct { const char *frame; int parts; } cases[] = {
        {"007S00404060", 4}, {"007S02001060", 2}, {"007S00203060", 1}, {"0x7S00403060", 1}, {"007S0040306", 1},
        {"007S00403060", 4},
    };
    for (const auto &c : cases) {
        addUnit(7, QString::fromLatin1(c.frame));
        EXPECT_EQ(getDescriptionPartCount(7), c.parts) << c.frame;
    }
    setTexts(7, text, {});
    EXPECT_EQ(getUnitDescription(7, 3), QStringLiteral("Teil 3"));
    EXPECT_EQ(getUnitDescription(7, 7), QStringLiteral("Teil 4"));
    // Never assigned: NUL characters read as nothing; spaces are trimmed before the cut at a NUL.
    EXPECT_EQ(getUnitDescription(8, 1), QString());
    units().at(8).description = QStringLiteral(" Flur  ") + QString(1193, QChar(0));
    EXPECT_EQ(getUnitDescription(8, 1), QStringLiteral("Flur  "));
}

TEST_F(UnitRegistryTest, FaultTextsForDisplay)
{
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("Kein Fehlerstatus bekannt"));
    addUnit(5, QStringLiteral("005S00203060"));
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("Kein Fehlerstatus bekannt"));
    setTexts(5, {}, QStringLiteral("\tAkku defekt  \r\nLampe\r\n\r\n"));
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("Akku defekt\r\nLampe\r\n"));
    setTexts(5, {}, QStringLiteral("eins\r\n\r\ndrei"));
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("eins\r\n\r\ndrei\r\n"));
    // Spaces go before the line ends, so a space in front of them stays.
    EXPECT_EQ(trimTrailingCrLf(QStringLiteral("\t a \r\n\r\n")), QStringLiteral("a "));
}

TEST_F(UnitRegistryTest, OverviewListAndResettingTheSelectedUnit)
{
    addUnit(1005, QStringLiteral("S05S01000070"));
    addUnit(9, QStringLiteral("009S00203060"));
    addUnit(7, QStringLiteral("007S00403060"));
    units().at(9).state = kStateFault;
    units().at(1005).state = kStateOk;
    setTexts(7, QStringLiteral("Flur"), {});

    view.selectedAddress = -1;
    resetUnitErrorState();
    EXPECT_EQ(view.selectedRow, QString());
    const auto row = [&](int i) {
        const UnitListRow &r = view.unitRows.at(i);
        return QStringList{r.stateText, r.address, r.frame, r.description, r.fault ? QStringLiteral("rot") : QString()};
    };
    ASSERT_EQ(view.unitRows.size(), 3);
    EXPECT_EQ(row(0), (QStringList{"n.a.", "007", "007S00403060", "Flur", ""}));
    EXPECT_EQ(row(1), (QStringList{"Fehler", "009", "009S00203060", "", "rot"}));
    EXPECT_EQ(row(2), (QStringList{"OK", "S05", "S05S01000070", "", ""}));

    EXPECT_EQ(view.systemStatus, SystemStatus::Fault);
    view.selectedAddress = 9;
    resetUnitErrorState();
    EXPECT_EQ(view.systemStatus, SystemStatus::Unknown);
    EXPECT_EQ(row(1), (QStringList{"OK", "009", "009S00203060", "", ""}));
    EXPECT_EQ(view.unitRows.at(1).state, kStateOk);
    EXPECT_EQ(view.selectedRow, QStringLiteral("009"));
    EXPECT_EQ(view.unitListFills, 2);
}
