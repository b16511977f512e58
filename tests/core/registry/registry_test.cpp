// The unit registry: addresses, records, descriptions and fault texts, the overview list, the traffic light.
#include "core/registry/unitaddress.h"
#include "core/registry/unitdescription.h"
#include "support/stationfiles.h"

namespace {

void setTexts(int addr, const QString &description, const QString &errorText)
{
    units().at(addr).description = fixedWidth(description, kDescriptionWidth);
    units().at(addr).errorText = fixedWidth(errorText, kErrorTextWidth);
}

} // namespace

using Registry = StationFiles;

TEST(UnitAddress, FormatsAndParses)
{
    const struct { int addr; const char *text; } formats[] = {
        {0, "000"}, {5, "005"}, {999, "999"}, {1000, "S00"}, {1099, "S99"}, {1100, "S00"}, {2000, "T00"}, {32767, "r67"},
    };
    for (const auto &c : formats)
        EXPECT_EQ(formatUnitAddress(c.addr), QLatin1String(c.text)) << c.addr;
    EXPECT_EQ(formatUnitAddressHigh(7) + formatTwoDigits(7) + u'|' + formatTwoDigits(123), QStringLiteral("00707|123"));
    const struct { const char *text; int addr; } parses[] = {
        {"12", -1}, {"ALL", -1}, {"G05", -1}, {"T00", -1}, {"s07", 1007}, {"000", 0}, {"X01", -1}, {"-12", -1}, {"99999999", -1},
    };
    for (const auto &c : parses)
        EXPECT_EQ(parseUnitAddress(QLatin1String(c.text)), c.addr) << c.text;
    for (int addr = 1; addr <= 1099; ++addr)
        ASSERT_EQ(parseUnitAddress(formatUnitAddress(addr)), addr);
}

TEST_F(Registry, AddDeleteCountAndTheTrafficLightOverNormalAddresses)
{
    EXPECT_EQ(std::pair(addUnit(2001, QStringLiteral("x")), deleteUnit(0)), std::pair(-1, -1));
    EXPECT_EQ(std::pair(unitExists(0), unitExists(2000)), std::pair(true, false));
    updateSystemStatus();
    EXPECT_EQ(view.statusTitle, QStringLiteral("Systemstatus: OK"));

    setTexts(12, QStringLiteral("Keller"), QStringLiteral("alt"));
    units().at(12).state = kStateFault;
    // A double quote would break "Units.dat": it is stored as an apostrophe.
    ASSERT_EQ(addUnit(12, QStringLiteral("012\"0020302")), 0);
    const UnitRecord &unit = units().at(12);
    EXPECT_EQ(std::tuple(unit.frame, unit.exists, unit.state), std::tuple(QStringLiteral("012'0020302 "), true, kStateUnknown));
    EXPECT_EQ(unit.errorText, QString(kErrorTextWidth, u' '));
    EXPECT_EQ(getUnitDescription(12, 1), QStringLiteral("Keller"));
    addUnit(999, QStringLiteral("999S00203060"));
    addUnit(1000, QStringLiteral("S00S00203060"));
    addUnit(2000, QStringLiteral("X00S00203060"));
    EXPECT_EQ(std::pair(countUnits(true), countUnits(false)), std::pair(2, 4));

    units().at(999).state = kStateOk;
    units().at(1000).state = kStateFault;  // special addresses never count
    updateSystemStatus();
    EXPECT_EQ(view.systemStatus, SystemStatus::Unknown);
    EXPECT_EQ(view.statusTitle, QStringLiteral("Systemstatus: Unbekannt"));
    EXPECT_EQ(view.statusText,
              QStringLiteral("Es gibt mindestens ein Gerät, das noch nicht getestet wurde.\r\nDieses Symbol bedeutet, dass "
                             "mindestens ein Gerät vorhanden ist, dessen Status unbekannt ist. Es wird bei der nächsten "
                             "Autoprüfung getestet werden.\r\nStellen Sie sicher, dass die automatische Prüfung aktiviert ist"));
    // Deleting refreshes the light; a state where nobody is registered counts for nothing.
    units().at(5).state = kStateFault;
    ASSERT_EQ(deleteUnit(12), 0);
    EXPECT_EQ(view.systemStatus, SystemStatus::Ok);
    EXPECT_EQ(std::tuple(unit.exists, unit.description, unit.frame),
              std::tuple(false, QString(kDescriptionWidth, u' '), QString(kFrameWidth, u' ')));
    units().at(999).state = kStateFault;
    updateSystemStatus();
    EXPECT_EQ(std::pair(view.systemStatus, view.statusTitle), std::pair(SystemStatus::Fault, QStringLiteral("Systemstatus: Fehler")));
}

TEST_F(Registry, DescriptionPartsFollowTheTypeCodeAndFillTheirShareOfTheField)
{
    const struct { const char *frame; int parts; } counts[] = {
        {"007S00404060", 4}, {"007S00403060", 4}, {"007S02001060", 2}, {"007S00203060", 1}, {"0x7S00403060", 1}, {"007S0040306", 1},
    };
    for (const auto &c : counts) {
        addUnit(7, QString::fromLatin1(c.frame));
        EXPECT_EQ(getDescriptionPartCount(7), c.parts) << c.frame;
    }
    const struct { const char *frame; QStringList parts; QString stored; QStringList shown; } cases[] = {
        // Four contacts of 300: a quote becomes an apostrophe, a long part is cut, a missing one is blank.
        {"007S00403099", {"Flur", "Tür \"Ost\"", QString(310, u'x')},
         QStringLiteral("Flur").leftJustified(300) + QStringLiteral("Tür 'Ost'").leftJustified(300) + QString(300, u'x') + QString(300, u' '),
         {"Flur", "Tür 'Ost'", QString(300, u'x'), ""}},
        {"007S00401040", {"  Halle  "}, QStringLiteral("  Halle").leftJustified(1200), {"Halle"}},
        {"007S02001013", {"A", "B", "ignored"}, QStringLiteral("A").leftJustified(600) + QStringLiteral("B").leftJustified(600), {"A", "B"}},
    };
    for (const auto &c : cases) {
        addUnit(7, QString::fromLatin1(c.frame));
        ASSERT_TRUE(setDescriptionParts(7, c.parts));
        EXPECT_EQ(units().at(7).description, c.stored) << c.frame;
        EXPECT_EQ(descriptionParts(7), c.shown) << c.frame;
    }
    EXPECT_FALSE(setDescriptionParts(2001, {QStringLiteral("x")}));
    EXPECT_EQ(getUnitDescription(7, 7), QStringLiteral("B"));  // a part beyond the count reads the last
    // Never assigned: NUL characters read as nothing; spaces are trimmed before the cut at a NUL.
    EXPECT_EQ(getUnitDescription(8, 1), QString());
    units().at(8).description = QStringLiteral(" Flur  ") + QChar(0) + u'x' + QString(1191, QChar(0));
    EXPECT_EQ(getUnitDescription(8, 1), QStringLiteral("Flur  "));
}

TEST_F(Registry, FaultTextsForDisplay)
{
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("Kein Fehlerstatus bekannt"));
    addUnit(5, QStringLiteral("005S00203060"));
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("Kein Fehlerstatus bekannt"));
    setTexts(5, {}, QStringLiteral("\tAkku defekt  \r\nLampe\r\n\r\n"));
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("Akku defekt\r\nLampe\r\n"));
    setTexts(5, {}, QStringLiteral("eins\r\n\r\ndrei"));
    EXPECT_EQ(getUnitErrorText(5), QStringLiteral("eins\r\n\r\ndrei\r\n"));
    // Outer tabs go, then spaces, then line ends; a space in front of them stays, a tab inside too.
    EXPECT_EQ(trimTrailingCrLf("\t\t a\tb \r\n\r\n\t\t") + u'|' + trimTrailingCrLf("\t\t"), QStringLiteral("a\tb |"));
}

TEST_F(Registry, OverviewListAndResettingTheSelectedUnit)
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
    const auto rows = [&] {
        QStringList shown;
        for (const UnitListRow &r : view.unitRows)
            shown << QStringList{r.stateText, r.address, r.frame, r.description, r.fault ? "rot" : ""}.join(u'/');
        return shown;
    };
    EXPECT_EQ(rows(), (QStringList{"n.a./007/007S00403060/Flur/", "Fehler/009/009S00203060//rot", "OK/S05/S05S01000070//"}));
    EXPECT_EQ(view.systemStatus, SystemStatus::Fault);

    view.selectedAddress = 9;
    resetUnitErrorState();
    EXPECT_EQ(view.systemStatus, SystemStatus::Unknown);
    EXPECT_EQ(rows().at(1), QStringLiteral("OK/009/009S00203060//"));
    EXPECT_EQ(std::tuple(view.unitRows.at(1).state, view.selectedRow, view.unitListFills), std::tuple(kStateOk, QStringLiteral("009"), 2));
}
