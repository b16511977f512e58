#include "support/qtprint.h"

#include "core/registry/unitregistry.h"
#include "device/messages/devicetypes.h"
#include "device/pages/pagefillers.h"
#include "device/pages/statuspages.h"
#include "support/fakeclock.h"
#include "support/recordingview.h"
#include "support/samplemessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString goldenPath(const QString &name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("golden/") + name);
}

// NUVAX_UPDATE_GOLDEN=1 writes the pages anew; look at every changed one before committing.
void expectGolden(const QString &name, const QString &page)
{
    QFile file(goldenPath(name));
    if (qEnvironmentVariableIsSet("NUVAX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
        file.write(page.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "missing golden " << name.toStdString();
    EXPECT_EQ(QString::fromUtf8(file.readAll()), page) << name.toStdString();
}

class PageFillersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        initStatusPages();
        units().clear();
        describe(7, QStringLiteral("Flur EG, Ausgang Süd"),
                 QStringLiteral("Akkuspannung zu gering\r\nLeuchtmittel defekt\r\n"));
        describe(1005, QStringLiteral("Zentralbatterie Keller"), QString());
        describe(2, QString(), QString());
    }
    void TearDown() override { units().clear(); }

    static void describe(int addr, const QString &description, const QString &faults)
    {
        units().at(addr).exists = true;
        units().at(addr).description = fixedWidth(description, kDescriptionWidth);
        units().at(addr).errorText = fixedWidth(faults, kErrorTextWidth);
    }

    QString pageOf(int deviceType, const QString &message)
    {
        pageFillerFor(deviceType)(message);
        return view.statusPage;
    }

    QString pageWith(int deviceType, int pos, const QString &text)
    {
        return pageOf(deviceType, withAt(sampleMessage(deviceType, QStringLiteral("007")), pos, text));
    }

    FakeClock clock{QDateTime(QDate(2011, 3, 7), QTime(14, 5))};
    RecordingView view;
};

struct GoldenCase
{
    int deviceType;
    const char *address;
    int pos;          // where the sample message is changed, 0 for none
    const char *text; // what it is changed to
};

// Each message differs from the all-quiet sample where the page shows the
// other branch of a value, so every value rule appears in some page.
const GoldenCase kGoldenCases[] = {
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

TEST_F(PageFillersTest, EveryTypeFillsItsWholePage)
{
    for (const GoldenCase &c : kGoldenCases) {
        QString message = sampleMessage(c.deviceType, QString::fromLatin1(c.address));
        if (c.pos > 0)
            message = withAt(message, c.pos, QString::fromLatin1(c.text));
        const QString code = deviceTypeCodeOf(c.deviceType);
        const int shownBefore = view.statusPageShows;
        const QString page = pageOf(c.deviceType, message);
        EXPECT_EQ(view.statusPageShows, shownBefore + 1) << code.toStdString();
        EXPECT_FALSE(page.contains(kPageSlot)) << code.toStdString();
        expectGolden(QStringLiteral("statuspage_%1.html").arg(code), page);
    }
}

// The fields the grammar leaves open: the current in any four characters, and
// dashes where a duration test never ran.
TEST_F(PageFillersTest, InverterSystemShowsOpenFieldsWithoutLosingTheRow)
{
    struct Case
    {
        int pos;
        const char *field, *rows;
    };
    const Case cases[] = {
        {101, "-1,5", "<td>Entladestrom:</td><td>1,5 A</td>"},
        {101, " 0,0", "<td>Ladestrom:</td><td>0 A</td>"},
        {101, " 1,0", "<td>Ladestrom:</td><td>1 A</td>"},
        {101, "-0,5", "<td>Entladestrom:</td><td>0,5 A</td>"},
        {101, "-0,0", "<td>Ladestrom:</td><td>0 A</td>"},
        // Not a number: shown as sent, never left out.
        {101, "1.5 ", "<td>Ladestrom:</td><td>1.5 A</td>"},
        {101, "a<b1", "<td>Ladestrom:</td><td>a&lt;b1 A</td>"},
        {77, "--------------------",
         "<td>Letzter BDT (Start):</td><td>--.--.-- --:--</td></tr>"
         "<tr><td>Letzter BDT (Ende):</td><td>--.--.-- --:--</td>"},
    };
    for (const Case &c : cases) {
        const QString page = pageWith(kType1000, c.pos, QString::fromLatin1(c.field));
        EXPECT_TRUE(page.contains(QString::fromLatin1(c.rows))) << c.field;
        EXPECT_FALSE(page.contains(kPageSlot)) << c.field;
    }
}

// A description is the operator's text: whatever it holds must not change the
// page around it nor move the values after it.
TEST_F(PageFillersTest, DescriptionIsShownAsTextWithoutMovingOtherValues)
{
    describe(7, QStringLiteral("Keller <Lager> & {F} Tür"), QStringLiteral("Fehler <1> & {F}\r\n"));
    const QString page = pageOf(kType0203, sampleMessage(kType0203, QStringLiteral("007")));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<td><b>Beschreibung:</b></td><td>Keller &lt;Lager&gt; &amp; {F} Tür</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<td>Leuchtmittel:</td><td>Ein</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<pre>Fehler &lt;1&gt; &amp; {F}\r\n</pre>")));
    EXPECT_TRUE(page.endsWith(QStringLiteral(">Status vom 07.03.2011 14:05</font></body></html>")));
    EXPECT_EQ(page.count(kPageSlot), 2);
}

// A sender that names no unit, and a unit never registered, whose fields were never written.
TEST_F(PageFillersTest, SenderWithoutRecordShowsNoDescriptionNorFaults)
{
    for (const QString &address : {QStringLiteral("X07"), QStringLiteral("123")}) {
        const QString page = pageOf(kType0203, sampleMessage(kType0203, address));
        EXPECT_TRUE(page.contains("Status von Adresse " + address + "</font>"));
        EXPECT_TRUE(page.contains(QStringLiteral("<td><b>Beschreibung:</b></td><td></td>")));
        EXPECT_TRUE(page.contains(QStringLiteral("<pre>Kein Fehlerstatus bekannt</pre>")));
        EXPECT_FALSE(page.contains(QChar(0)));
    }
}

} // namespace
