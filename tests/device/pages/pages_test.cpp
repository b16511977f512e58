#include "support/busfixture.h"

#include "core/registry/unitaddress.h"
#include "device/pages/pagefillers.h"
#include "device/pages/unitstatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// NUVAX_UPDATE_GOLDEN=1 writes the pages anew; look at every changed one before committing.
void expectGolden(const QString &name, const QString &page)
{
    QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath("golden/" + name));
    if (qEnvironmentVariableIsSet("NUVAX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
        file.write(page.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "missing golden " << name.toStdString();
    EXPECT_EQ(QString::fromUtf8(file.readAll()), page) << name.toStdString();
}

class Pages : public BusFixture
{
protected:
    Pages() : BusFixture(at(14, 5))
    {
        describe(7, "Flur EG, Ausgang Süd", "Akkuspannung zu gering\r\nLeuchtmittel defekt\r\n");
        describe(1005, "Zentralbatterie Keller", "");
        describe(2, "", "");
    }
    static void describe(int addr, const QString &description, const QString &faults, const QString &frame = {})
    {
        UnitRecord &u = units().at(addr);
        u.exists = true, u.description = fixedWidth(description, kDescriptionWidth);
        u.errorText = fixedWidth(faults, kErrorTextWidth), u.frame = fixedWidth(frame, kFrameWidth);
    }
    QString pageOf(int deviceType, const QString &message)
    {
        pageFillerFor(deviceType)(message);
        return view.statusPage;
    }
    bool unitsFileWritten() const { return QFile::exists(folder.file("Units.dat")); }
};

// Each message differs from the all-quiet sample where the page shows the
// other branch of a value, so every value rule appears in some page.
TEST_F(Pages, EveryTypeFillsItsWholePage)
{
    const struct { int deviceType; const char *address; int pos; const char *text; } cases[] = {
        {kType0203, "007", 0, ""},
        {kType0204, "002", 13, "A"}, // neither described nor tested
        {kType2001, "007", 13, "10111111!OFOOOOOO!S34"},
        {kType0404, "007", 13, "!--p12"},
        {kType0403, "007", 13, "-!-a34"},
        {kType0701, "007", 13, "OOFOOF020304013000OOOOFO02116807217"},
        {kType0401, "007", 13, "AE08Na02153014"},
        {kType0402, "007", 13, "OF24Jp01300017"},
        {kType0901, "007", 13, "013000OFOFO--DOOOFO02116807217"},
        {kType0501, "007", 13, "1224Jt013045A23505202317"},
        {kType1000, "S05", 0, ""},
        {kType2002, "007", 21, "!"},
        {kType0601, "007", 0, ""},
    };
    for (const auto &c : cases) {
        const QString message = sampleMessage(c.deviceType, c.address);
        const QString code = deviceTypeCodeOf(c.deviceType);
        const int shownBefore = view.statusPageShows;
        const QString page = pageOf(c.deviceType, c.pos > 0 ? withAt(message, c.pos, c.text) : message);
        EXPECT_TRUE(view.statusPageShows == shownBefore + 1 && !page.contains(kPageSlot)) << code.toStdString();
        expectGolden(QStringLiteral("statuspage_%1.html").arg(code), page);
    }
}

// The inverter's current may be any four characters, its duration test dashes
// where it never ran: shown as sent, never left out.
TEST_F(Pages, InverterSystemShowsOpenFieldsWithoutLosingTheRow)
{
    const struct { int pos; const char *field, *rows; } cases[] = {
        {101, "-1,5", "<td>Entladestrom:</td><td>1,5 A</td>"},
        {101, " 1,0", "<td>Ladestrom:</td><td>1 A</td>"},
        {101, "-0,5", "<td>Entladestrom:</td><td>0,5 A</td>"},
        {101, "-0,0", "<td>Ladestrom:</td><td>0 A</td>"},
        {101, "1.5 ", "<td>Ladestrom:</td><td>1.5 A</td>"},
        {101, "a<b1", "<td>Ladestrom:</td><td>a&lt;b1 A</td>"},
        {77, "--------------------", "<td>Letzter BDT (Start):</td><td>--.--.-- --:--</td></tr>"
                                     "<tr><td>Letzter BDT (Ende):</td><td>--.--.-- --:--</td>"},
    };
    for (const auto &c : cases) {
        const QString page = pageOf(kType1000, withAt(sampleMessage(kType1000, "007"), c.pos, c.field));
        EXPECT_TRUE(page.contains(c.rows) && !page.contains(kPageSlot)) << c.field;
    }
}

// A description is the operator's text: whatever it holds must not change the
// page around it nor move the values after it. A sender without a record shows neither.
TEST_F(Pages, DescriptionIsShownAsTextAndASenderWithoutRecordShowsNone)
{
    describe(7, "Keller <Lager> & {F} Tür", "Fehler <1> & {F}\r\n");
    QString page = pageOf(kType0203, sampleMessage(kType0203, "007"));
    EXPECT_TRUE(page.contains("<td><b>Beschreibung:</b></td><td>Keller &lt;Lager&gt; &amp; {F} Tür</td>")
                && page.contains("<td>Leuchtmittel:</td><td>Ein</td>") && page.count(kPageSlot) == 2
                && page.contains("<pre>Fehler &lt;1&gt; &amp; {F}\r\n</pre>")
                && page.endsWith(">Status vom 07.03.2011 14:05</font></body></html>")) << page.toStdString();
    for (const QString address : {"X07", "123"}) {
        page = pageOf(kType0203, sampleMessage(kType0203, address));
        EXPECT_TRUE(page.contains("Status von Adresse " + address + "</font>") && !page.contains(QChar(0))
                    && page.contains("<td><b>Beschreibung:</b></td><td></td>")
                    && page.contains("<pre>Kein Fehlerstatus bekannt</pre>")) << page.toStdString();
    }
}

TEST_F(Pages, StatusQueryShowsThePageRecordsOnlyAnotherDeviceTypeAndAFailureChangesNothing)
{
    // Recorded when found: another kind and length, the same type code.
    describe(7, "Halle 2", "", "007xx0403099");
    bus.addUnit(7, kType0403);
    QString reason = "untouched";
    EXPECT_EQ(showUnitStatus(7, &reason), kUnitStatusShown);
    EXPECT_EQ(std::tuple(bus.wire(), view.statusPageShows, units().at(7).frame, unitsFileWritten(), reason,
                         view.busyPointer, view.busyPointerChanges),
              std::tuple("\n007S00", 1, "007xx0403099", false, "untouched", false, 2));
    EXPECT_TRUE(view.statusPage.contains("<b>QOR-TD</b>") && view.statusPage.contains("<td>Halle 2</td>"));

    const QString answer7 = bus.addUnit(7, kType0404).message;
    EXPECT_EQ(showUnitStatus(7), kUnitStatusShown);
    EXPECT_EQ(std::tuple(units().at(7).frame, units().at(7).description.trimmed(), view.unitListFills),
              std::tuple(answer7.left(12), "Halle 2", 1));
    EXPECT_TRUE(folder.read("Units.dat").contains('"' + answer7.left(12).toLatin1() + '"'));
    // An address queried without being registered keeps its header, not a place in the list.
    const QString answer9 = bus.addUnit(9, kType0901).message;
    EXPECT_EQ(showUnitStatus(9), kUnitStatusShown);
    EXPECT_EQ(std::pair(units().at(9).frame, units().at(9).exists), std::pair(answer9.left(12), false));
    EXPECT_TRUE(folder.read("Units.dat").contains('"' + answer9.left(12).toLatin1() + '"')
                && view.statusPage.contains("<b>TQ05/TW83</b>"));

    // A failed or refused query gives its reason and changes nothing.
    const int shown = view.statusPageShows;
    QFile::remove(folder.file("Units.dat"));
    bus.addUnit(7, kType0203).silent = true;
    EXPECT_EQ(showUnitStatus(7, &reason), kUnitStatusRequestFailed);
    EXPECT_EQ(std::tuple(reason, view.busyPointer, view.busyPointerChanges),
              std::tuple("Gerät antwortete nicht auf Anfrage", false, 8));
    bus.clearWrites();
    const BusClaim test(BusUser::Background); // while a test holds the bus the query does not even ask
    EXPECT_EQ(showUnitStatus(7, &reason), kUnitStatusRequestFailed);
    EXPECT_EQ(std::pair(reason, bus.wire()), std::pair(busBusyReason(), QString()));
    EXPECT_EQ(std::tuple(view.statusPageShows, units().at(7).frame, unitsFileWritten(), view.busyPointer),
              std::tuple(shown, answer7.left(12), false, false));
}

} // namespace
