#include "device/messages/evaluation.h"

#include "core/platform/codepage.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/messages/devicetypes.h"

#include "support/qtprint.h"
#include "support/samplemessages.h"
#include "support/tempappfolder.h"

#include <gtest/gtest.h>

namespace {

constexpr int F = kEvalFault;
constexpr int OK = kEvalOk;
const char16_t *const kSmall = u"Akkukapazität zu klein";

class Evaluate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        units().clear();
        UnitRecord &unit = units().at(1); // a 0403 unit: four description parts of 300
        unit.exists = true;
        unit.frame = sampleMessage(kType0403).left(12);
        unit.description.clear();
        for (int p = 1; p <= 4; ++p)
            unit.description += (QStringLiteral("Teil ") + QString::number(p)).leftJustified(300);
    }
    void TearDown() override
    {
        units().clear();
        settings().akkulaufzeit = 0;
    }
    QString log() const { return codepage::decode(m_folder.read(QStringLiteral("logs/t.log"))); }

    TempAppFolder m_folder;
};

} // namespace

// One change to a quiet sample per row: the mode, the battery duration, the
// result and the reasons (none: "Gerät OK", or a fault without a line).
TEST_F(Evaluate, RulesOfEveryType)
{
    const struct { int type; int pos; const char *change; bool capacity; int akku; int result;
                   std::initializer_list<const char16_t *> reasons; } cases[] = {
        {kType0203, 13, "A", false, 1, F, {u"Leuchtmittelfehler"}},
        {kType0204, 13, "A", true, 0, F, {u"Leuchtmittelfehler"}},
        {kType0403, 13, "!-!", false, 1, F, {u"Meldekontakt 1 betätigt (Teil 2)", u"Meldekontakt 3 betätigt (Teil 4)"}},
        {kType0404, 14, "!", true, 1, F, {u"L2 Ausfall (Teil 3)"}},
        {kType2001, 22, "FOOOOOOF!", false, 1, F, {u"Fehler an Ausgang 1", u"Fehler an Ausgang 8"}},
        {kType2001, 30, "!", true, 1, F, {}},
        {kType2001, 21, "!FFFFFFFF-", false, 1, OK, {}},
        {kType2002, 21, "-OFOOOOOO!", false, 1, F, {u"Fehler an Ausgang 2"}},
        {kType2002, 21, "!OOOOOOOF!", true, 3, F, {u"SV Ausgefallen", u"Fehler an Ausgang 8"}},
        {kType0501, 14, "3", false, 1, F, {u"Allgemeiner Fehler"}},
        {kType0501, 13, "4", false, 1, OK, {}},
        {kType0401, 14, "A", false, 1, F, {u"Leuchtmittelfehler"}},
        {kType0402, 14, "F", false, 1, F, {u"Leuchtmittelfehler"}},
        {kType1000, 49, "1000000000000000000101", false, 1, F, {u"Fehler an Wechselrichter 2", u"Fehler an Wechselrichter 21"}},
        // the first reason that applies, in the rule's order
        {kType0901, 27, "FOOF", false, 1, F, {u"Leuchtmittelfehler"}},
        {kType0901, 27, "FFFOF", false, 1, F, {u"Akkuspannungsfehler"}},
        {kType0901, 28, "FFOF", false, 1, F, {u"Ladefehler"}},
        {kType0901, 29, "FOF", false, 1, F, {u"Temperaturfehler"}},
        {kType0901, 31, "F", false, 1, F, {u"Kapazitätsfehler"}},
        {kType0901, 19, "FFFFF", false, 1, OK, {}},
        {kType0701, 14, "FOOOO000500013000OOOOF", false, 1, F, {u"Leuchtmittelfehler"}},
        {kType0701, 14, "FFF", false, 1, F, {u"Akkuspannungsfehler"}},
        {kType0701, 15, "FF", false, 1, F, {u"Ladefehler"}},
        {kType0601, 15, "F", false, 1, F, {u"Temperaturfehler"}},
        {kType0601, 31, "FFFF", false, 1, OK, {}},
        // capacity: whole hours only, the normal fault fields unread
        {kType0501, 14, "324Jn015959", true, 1, OK, {}},
        {kType0501, 14, "324Jn015959", true, 0, F, {kSmall}},
        {kType0501, 19, "025959", true, 3, F, {kSmall}},
        {kType0501, 19, "030000", true, 0, OK, {}},
        {kType0401, 19, "005959", true, 1, F, {kSmall}},
        {kType0402, 14, "F", true, 1, OK, {}},
        {kType0901, 13, "005959", true, 1, F, {kSmall}},
        {kType0901, 27, "FFFFF", true, 1, OK, {}},
        {kType0701, 25, "025959", true, 3, F, {kSmall}},
        {kType0601, 19, "990000035959", true, 0, OK, {}},
        // the inverter counts hour boundaries of its last duration test (77-96)
        {kType1000, 77, "010321010321" "1059" "1100", true, 1, OK, {}},
        {kType1000, 77, "010321010321" "1059" "1100", true, 0, F, {kSmall}},
        {kType1000, 77, "010321010321" "1000" "1059", true, 1, F, {kSmall}},
        {kType1000, 77, "311220010121" "2330" "0210", true, 3, OK, {}},
        {kType1000, 77, "010321010321" "1105" "0800", true, 3, OK, {}},
        {kType1000, 77, "--------------------", true, 1, F, {kSmall}},
        {kType1000, 77, "0103-5010321" "1059" "1300", true, 1, F, {kSmall}},
        {kType1000, 77, "010321010321" "-900" "1300", true, 1, F, {kSmall}},
        {kType1000, 77, "310221010321" "0800" "1105", true, 1, F, {kSmall}},
        {kType1000, 48, "1", true, 1, OK, {}},
        {kType1000, 77, "--------------------", false, 1, OK, {}},
        // malformed
        {kType0203, 13, "e", false, 1, F, {u"Statusmeldung syntaktisch falsch"}},
        {kType0403, 19, "xx", true, 1, F, {u"Statusmeldung syntaktisch falsch"}},
    };
    for (const auto &c : cases) {
        settings().akkulaufzeit = c.akku;
        QString text = c.result == OK ? QStringLiteral("Gerät OK\r\n") : QString();
        for (const char16_t *r : c.reasons)
            text += QStringLiteral("\tFEHLER: ") + QString::fromUtf16(r) + QStringLiteral("\r\n");
        const Evaluation e = evaluateStatus(c.type, withAt(sampleMessage(c.type), c.pos, QLatin1String(c.change)), c.capacity);
        EXPECT_TRUE(e.result == c.result && e.text == text)
            << c.type << " @" << c.pos << " " << c.change << " " << c.capacity << c.akku << ": " << e.text.toStdString();
    }
    for (int type = 1; type <= kDeviceTypeCount; ++type) {
        EXPECT_EQ(evaluateStatus(type, sampleMessage(type), false).result, OK) << type;
        EXPECT_EQ(evaluateStatus(type, sampleMessage(type), true).result, OK) << type;
    }
}

TEST_F(Evaluate, LogBlocksNameTheSender)
{
    QString text;
    EXPECT_EQ(evaluateMessage(sampleMessage(kType0403), false, QStringLiteral("t.log"), &text), kStateOk);
    EXPECT_EQ(text, u"\tSTATUS: OK\r\n");
    EXPECT_EQ(evaluateMessage(withAt(sampleMessage(kType0403), 15, QStringLiteral("!")), true,
                              QStringLiteral("t.log"), &text), kStateFault);
    EXPECT_EQ(text, u"\tFEHLER: Meldekontakt 3 betätigt (Teil 4)\r\n");
    // line noise and unknown types: no description, no crash
    EXPECT_EQ(evaluateMessage(QStringLiteral("X01S00999012"), false, QStringLiteral("t.log"), &text), kStateFault);
    EXPECT_EQ(text, u"\tFEHLER: Ungültiger Gerätetyp (0999)");
    EXPECT_EQ(evaluateMessage(QStringLiteral("-12S00403020---e12xy"), false, QStringLiteral("t.log")), kStateFault);
    EXPECT_EQ(evaluateMessage(QStringLiteral("005"), true, QStringLiteral("t.log")), kStateFault);

    EXPECT_EQ(log(), QStringLiteral(
        "Adresse 001\r\n\tTyp: QOR-TD\r\n\tStatus: OK\r\n\r\n"
        "Adresse 001\r\n\tTyp: QOR-TD\r\n\tStatus: FEHLER\r\n\tBeschreibung: Teil 1\r\n"
        "\tFEHLER: Meldekontakt 3 betätigt (Teil 4)\r\n\r\n"
        "Adresse X01\r\n\tTyp: Ungültiger Gerätetyp\r\n\tStatus: FEHLER\r\n\tBeschreibung: \r\n"
        "\tFEHLER: Ungültiger Gerätetyp (0999)\r\n"
        "Adresse -12\r\n\tTyp: QOR-TD\r\n\tStatus: FEHLER\r\n\tBeschreibung: \r\n"
        "\tFEHLER: Statusmeldung syntaktisch falsch\r\n\r\n"
        "Adresse 005\r\n\tTyp: Unbekanntes Protokoll\r\n\tStatus: FEHLER\r\n\tBeschreibung: \r\n"
        "\tFEHLER: Ungültiger Gerätetyp ()\r\n"));
}
