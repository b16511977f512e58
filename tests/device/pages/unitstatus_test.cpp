#include "support/qtprint.h"

#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/pages/statuspages.h"
#include "device/pages/unitstatus.h"
#include "support/fakeclock.h"
#include "support/fakewaits.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"
#include "support/simulatedbus.h"
#include "support/tempappfolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class UnitStatusTest : public ::testing::Test
{
protected:
    UnitStatusTest()
    {
        settings() = StationSettings{};
        units().clear();
        initStatusPages();
        serialLink().openComPort(1);
    }
    ~UnitStatusTest() override { units().clear(); }

    static void record(int addr, const QString &frame, bool registered = true)
    {
        UnitRecord &unit = units().at(addr);
        unit.exists = registered;
        unit.frame = fixedWidth(frame, kFrameWidth);
        unit.description = fixedWidth(QStringLiteral("Halle 2"), kDescriptionWidth);
    }

    bool unitsFileWritten() const { return QFile::exists(folder.file(QStringLiteral("Units.dat"))); }

    // The busy pointer went up once and came down again.
    void expectPointerBack() const
    {
        EXPECT_FALSE(view.busyPointer);
        EXPECT_EQ(view.busyPointerChanges, 2);
    }

    TempAppFolder folder;
    FakeClock clock;
    FakeWaits waits{clock};
    RecordingView view;
    SimulatedBus bus{clock, waits};
    QString reason = QStringLiteral("untouched");
};

TEST_F(UnitStatusTest, SameDeviceTypeShowsThePageAndWritesNothing)
{
    // Recorded when found: another kind and length, the same type code.
    record(7, QStringLiteral("007xx0403099"));
    bus.addUnit(7, sampleMessage(kType0403, QStringLiteral("007")));

    EXPECT_EQ(showUnitStatus(7, &reason), kUnitStatusShown);
    EXPECT_EQ(bus.writes(), QStringList({QStringLiteral("\n007S00")}));
    EXPECT_EQ(view.statusPageShows, 1);
    EXPECT_TRUE(view.statusPage.contains(QStringLiteral("<b>QOR-TD</b>")));
    EXPECT_TRUE(view.statusPage.contains(QStringLiteral("<td>Halle 2</td>")));
    EXPECT_EQ(units().at(7).frame, QStringLiteral("007xx0403099"));
    EXPECT_FALSE(unitsFileWritten());
    EXPECT_EQ(reason, QStringLiteral("untouched"));
    expectPointerBack();
}

TEST_F(UnitStatusTest, AnotherDeviceTypeIsRecordedAndSaved)
{
    record(7, QStringLiteral("007S00203013"));
    record(9, QString(), false);
    const QString answer7 = sampleMessage(kType0404, QStringLiteral("007"));
    const QString answer9 = sampleMessage(kType0901, QStringLiteral("009"));
    bus.addUnit(7, answer7);
    bus.addUnit(9, answer9);

    EXPECT_EQ(showUnitStatus(7), kUnitStatusShown);
    EXPECT_EQ(units().at(7).frame, answer7.left(12));
    EXPECT_EQ(units().at(7).description.trimmed(), QStringLiteral("Halle 2"));
    EXPECT_TRUE(folder.read(QStringLiteral("Units.dat")).contains('"' + answer7.left(12).toLatin1() + '"'));
    EXPECT_EQ(view.unitListFills, 1);

    // An address queried without being registered keeps its header, not a place in the list.
    EXPECT_EQ(showUnitStatus(9), kUnitStatusShown);
    EXPECT_EQ(units().at(9).frame, answer9.left(12));
    EXPECT_FALSE(units().at(9).exists);
    EXPECT_TRUE(folder.read(QStringLiteral("Units.dat")).contains('"' + answer9.left(12).toLatin1() + '"'));
    EXPECT_TRUE(view.statusPage.contains(QStringLiteral("<b>TQ05/TW83</b>")));
}

TEST_F(UnitStatusTest, FailedOrRefusedQueryGivesItsReasonAndChangesNothing)
{
    record(7, QStringLiteral("007S00203013"));
    bus.addUnit(7, kType0404).silent = true;
    EXPECT_EQ(showUnitStatus(7, &reason), kUnitStatusRequestFailed);
    EXPECT_EQ(reason, QStringLiteral("Gerät antwortete nicht auf Anfrage"));
    expectPointerBack();

    // While a test holds the bus the query does not even ask.
    bus.clearWrites();
    const BusClaim test(BusUser::Background);
    EXPECT_EQ(showUnitStatus(7, &reason), kUnitStatusRequestFailed);
    EXPECT_EQ(reason, busBusyReason());
    EXPECT_TRUE(bus.writes().isEmpty());

    EXPECT_EQ(view.statusPageShows, 0);
    EXPECT_EQ(units().at(7).frame, QStringLiteral("007S00203013"));
    EXPECT_FALSE(unitsFileWritten());
    EXPECT_FALSE(view.busyPointer);
}

} // namespace
