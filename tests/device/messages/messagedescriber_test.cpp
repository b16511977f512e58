#include "device/messages/messagedescriber.h"

#include "core/registry/unitregistry.h"
#include "device/messages/devicetypes.h"

#include "support/qtprint.h"
#include "support/samplemessages.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

void registerUnit(int addr, int deviceType, const QStringList &parts)
{
    UnitRecord &unit = units().at(addr);
    unit.exists = true;
    unit.frame = sampleMessage(deviceType).left(12);
    unit.description.clear();
    for (const QString &part : parts)
        unit.description += part.leftJustified(1200 / int(parts.size()));
}

class Describe : public ::testing::Test
{
protected:
    void SetUp() override
    {
        units().clear();
        registerUnit(1, kType0403, {QStringLiteral("Halle"), QStringLiteral("Tor"), QStringLiteral("Rampe"), QStringLiteral("Brandmelder")});
        registerUnit(2, kType2001, {QStringLiteral("Keller"), QStringLiteral("Türkontakt")});
    }
    void TearDown() override { units().clear(); }
};

const QString kUnsupported =
    QStringLiteral("HINWEIS: Der Gerätetyp kann mit dieser Softwareversion nicht ausgewertet werden!\r\n");

} // namespace

TEST_F(Describe, ContactsAndSignalInput)
{
    const QString head = QStringLiteral("Geräteadresse: 001\r\nGerätetyp: QOR-TD\r\nGerätebeschreibung: Halle\r\n");
    const QString one = QStringLiteral("Kontakt 1: FEHLER\r\nKontakt 1 (Beschreibung): Tor\r\n");
    const QString three = QStringLiteral("Kontakt 3: FEHLER\r\nKontakt 3 (Beschreibung): Brandmelder\r\n");
    const QString message = sampleMessage(kType0403);
    EXPECT_EQ(describeMessage(message), head);
    EXPECT_EQ(describeMessage(withAt(message, 13, QStringLiteral("!--")) + QStringLiteral("\r\n\n")), head + one);
    EXPECT_EQ(describeMessage(withAt(message, 13, QStringLiteral("!-!"))), head + one + three);

    const QString regler = QStringLiteral(
        "Geräteadresse: 002\r\nGerätetyp: Dravik-Regler\r\nGerätebeschreibung: Keller\r\n"
        "Meldeeingang: FEHLER\r\nMeldeeingang (Beschreibung): Türkontakt\r\n");
    EXPECT_EQ(describeMessage(sampleMessage(kType2001, QStringLiteral("002"))), regler);
    EXPECT_EQ(describeMessage(withAt(sampleMessage(kType2001, QStringLiteral("002")), 21, QStringLiteral("!"))), regler);
}

TEST_F(Describe, MalformedAndUnsupported)
{
    const QString long0403 = sampleMessage(kType0403) + u'x';
    EXPECT_EQ(describeMessage(long0403 + QStringLiteral("\r\n")),
              QStringLiteral("Geräteadresse: 001\r\nGerätetyp: QOR-TD\r\nNachricht syntaktisch falsch!\r\nMeldung: ") + long0403);
    const QString bad2001 = withAt(sampleMessage(kType2001, QStringLiteral("002")), 31, QStringLiteral("X"));
    EXPECT_TRUE(describeMessage(bad2001).endsWith(QStringLiteral("Nachricht syntaktisch falsch!\r\nMeldung: ") + bad2001));

    // a well-formed 0404 message is one this station cannot read, not a broken one
    const QString phases = sampleMessage(kType0404);
    EXPECT_EQ(describeMessage(phases), QStringLiteral("Geräteadresse: 001\r\n") + kUnsupported
                                           + QStringLiteral("Gerätetyp: QOR-5K\r\nMeldung: ") + phases
                                           + QStringLiteral("\r\nGerätebeschreibung: Halle"));
    EXPECT_TRUE(describeMessage(phases + u'x').contains(u"Gerätetyp: QOR-5K\r\nNachricht syntaktisch falsch!\r\n"));

    // the same layout and name as 2001, but not a type this station reads
    EXPECT_TRUE(describeMessage(sampleMessage(kType2002, QStringLiteral("002"))).contains(kUnsupported));
}

TEST_F(Describe, LineNoiseNamesNoUnit)
{
    EXPECT_TRUE(describeMessage(QStringLiteral("X01.A0403019!--e12x"))
                    .endsWith(u"Gerätebeschreibung: \r\nKontakt 1: FEHLER\r\nKontakt 1 (Beschreibung): \r\n"));
    EXPECT_EQ(describeMessage(QStringLiteral("S5")), QStringLiteral("Geräteadresse: S5\r\n") + kUnsupported
                                                         + QStringLiteral("Gerätetyp: Unbekanntes Protokoll\r\n"
                                                                          "Meldung: S5\r\nGerätebeschreibung: "));
}
