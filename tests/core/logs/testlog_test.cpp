#include "core/logs/testlog.h"
#include "core/registry/unitregistry.h"

#include "support/fakeclock.h"
#include "support/qtprint.h"
#include "support/tempappfolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kHead =
    "\r\n"
    "-------------------------------------------\r\n"
    "   _   _                                   \r\n"
    "  | \\ | |  _   _  __   __   __ _  __  __   \r\n"
    "  |  \\| | | | | | \\ \\ / /  / _` | \\ \\/ /   \r\n"
    "  | |\\  | | |_| |  \\ V /  | (_| |  >  <    \r\n"
    "  |_| \\_|  \\__,_|   \\_/    \\__,_| /_/\\_\\   \r\n"
    "                                           \r\n"
    "\r\n"
    "-------------------------------------------\r\n"
    "      Ergebnisse der Autopr\xFC" "fung\r\n"
    "-------------------------------------------\r\n"
    "\r\n"
    "\r\n";

const QByteArray kTail =
    "\r\n\r\n\r\n"
    "Details der Pr\xFC" "fung:\r\n"
    "--------------------\r\n"
    "\r\n";

class TestLog : public ::testing::Test
{
protected:
    void SetUp() override { settings() = {}; units().clear(); }
    void TearDown() override { settings() = {}; units().clear(); }

    TempAppFolder folder;
    FakeClock clock{QDateTime(QDate(2011, 3, 7), QTime(5, 0, 41))};
};

} // namespace

TEST_F(TestLog, FunctionTestHeaderWithoutPortAndInstanceName)
{
    ASSERT_TRUE(writeAutoTestLogHeader(QStringLiteral("AutoTest_2011_03_07.log"), TestArt::Pruefung));
    EXPECT_EQ(folder.read(QStringLiteral("logs/AutoTest_2011_03_07.log")),
              kHead + "Art der Pr\xFC" "fung: Funktionspr\xFC" "fung\r\n"
                      "\r\n"
                      "Datum: 07.03.2011\r\n"
                      "\r\n"
                      "Uhrzeit: 05:00\r\n"
                      "\r\n"
                      "Anzahl zu pr\xFC" "fender Ger\xE4" "te: 0\r\n" + kTail);
}

TEST_F(TestLog, DurationTestHeaderWithPortInstanceNameAndUnits)
{
    settings().akkulaufzeit = 1;
    settings().portOk = true;
    settings().comPort = 0;
    settings().instanzname = QStringLiteral("Schule Süd");
    for (int addr : {1, 42, 999, 1000, 1005})
        units().at(addr).exists = true;
    clock.setLocal(QDateTime(QDate(2011, 12, 24), QTime(17, 9)));

    ASSERT_TRUE(writeAutoTestLogHeader(QStringLiteral("AutoTest_2011_12_24.log"), TestArt::Dauertest));
    EXPECT_EQ(folder.read(QStringLiteral("logs/AutoTest_2011_12_24.log")),
              kHead + "Art der Pr\xFC" "fung: Betriebsdauertest\r\n"
                      "Gew\xE4hlte Akkulaufzeit: 1 Stunde\r\n"
                      "\r\n"
                      "Datum: 24.12.2011\r\n"
                      "\r\n"
                      "Uhrzeit: 17:09\r\n"
                      "\r\n"
                      "COM-Port: COM1\r\n"
                      "\r\n"
                      "Instanzname: Schule S\xFC" "d\r\n"
                      "\r\n"
                      "Anzahl zu pr\xFC" "fender Ger\xE4" "te: 3\r\n" + kTail);

    settings().akkulaufzeit = 3;
    ASSERT_TRUE(writeAutoTestLogHeader(QStringLiteral("d.log"), TestArt::Dauertest));
    EXPECT_TRUE(folder.read(QStringLiteral("logs/d.log"))
                    .contains("\r\nGew\xE4hlte Akkulaufzeit: 3 Stunden\r\n\r\nDatum: "));
}

TEST_F(TestLog, LinesAppendUntilTheNextTestOfTheDayReplacesThem)
{
    const QString name = QStringLiteral("AutoTest_2011_03_07.log");
    folder.write(QStringLiteral("logs"), "x");  // a file where the folder belongs
    EXPECT_FALSE(appendLog(name, QStringLiteral("x")));
    EXPECT_FALSE(writeAutoTestLogHeader(name, TestArt::Pruefung));
    QFile::remove(folder.file(QStringLiteral("logs")));

    ASSERT_TRUE(writeAutoTestLogHeader(name, TestArt::Pruefung));
    const QByteArray header = folder.read(QStringLiteral("logs/") + name);
    ASSERT_TRUE(appendLog(name, QStringLiteral("001 Status: OK")));
    ASSERT_TRUE(appendLog(name, QStringLiteral("002 Gerät antwortet nicht")));
    EXPECT_EQ(folder.read(QStringLiteral("logs/") + name),
              header + "001 Status: OK\r\n002 Ger\xE4t antwortet nicht\r\n");

    ASSERT_TRUE(writeAutoTestLogHeader(name, TestArt::Pruefung));
    EXPECT_EQ(folder.read(QStringLiteral("logs/") + name), header);
}
