#include "support/qtprint.h"

#include "core/platform/codepage.h"
#include "core/registry/unitregistry.h"
#include "core/station/stationsettings.h"
#include "device/messages/devicetypes.h"
#include "device/messages/evaluation.h"
#include "device/messages/messagedescriber.h"
#include "device/messages/messagegrammar.h"
#include "device/messages/messageheader.h"
#include "device/messages/pattern.h"
#include "support/samplemessages.h"
#include "support/tempappfolder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(MessageHeader, PatternsHeadersAndTheTypeTable)
{
    const struct { const char16_t *text, *pattern; bool match; } cases[] = {
        {u"a", u"?", true}, {u"", u"?", false}, {u"ab", u"?", false}, {u"7", u"#", true}, {u"x", u"#", false},
        {u"\u0663", u"#", false}, {u"E", u"E", true}, {u"e", u"E", false},
        // lists: a dash first or last is itself, in the middle a range
        {u"-", u"[-!]", true}, {u"!", u"[-!]", true}, {u"x", u"[-!]", false}, {u"3", u"[0123-]", true},
        {u"-", u"[0123-]", true}, {u"4", u"[0123-]", false}, {u"c", u"[a-e]", true}, {u"-", u"[a-e]", false},
        {u"f", u"[a-e]", false}, {u"a", u"[EA]", false}, {u"a", u"[ab", false},
        // the star: trailing, leading, between, alone
        {u"", u"*", true}, {u"E", u"[EA]*", true}, {u"Exyz", u"[EA]*", true}, {u"", u"[EA]*", false},
        {u"line status: ok", u"*status*ok*", true}, {u"ok status", u"*status*ok*", false}, {u"abcabd", u"*abd", true},
        {u"abcab", u"*abd", false}, {u"12", u"##", true}, {u"123", u"##", false}, {u"1", u"##", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(matchesPattern(QStringView(c.text), QStringView(c.pattern)), c.match)
            << QString::fromUtf16(c.text).toStdString() << " ~ " << QString::fromUtf16(c.pattern).toStdString();

    const struct { const char *text; bool valid; } headers[] = {
        {"012S00203013E", true}, {"S05.A0403019", true}, {"X01ab0203013", true},
        {"01200203013", false}, {"0A2S00203013", false}, {"012S0020301A", false}, {"012S0 203013", false},
    };
    for (const auto &c : headers)
        EXPECT_EQ(isValidHeader(QLatin1String(c.text)), c.valid) << c.text;

    QStringList names;
    int type = 0;
    for (const char *code :
         {"0203", "0204", "2001", "0404", "0403", "0701", "0401", "0402", "0901", "0501", "1000", "2002", "0601"}) {
        EXPECT_EQ(getDeviceTypeCode(QString("S05.A") + code + "012"), ++type) << code;
        names << getDeviceTypeName(QString("S05.A") + code + "012");
    }
    EXPECT_EQ(names.join(u','),
              "VARO3,VARO4,Dravik-Regler,QOR-5K,QOR-TD,Pallex,QOR07,QOR07-N,Ivenor,WNT3-H,HZ4000,Dravik-Regler,Pallex");
}

struct Layout
{
    std::initializer_list<int> types;
    bool open;
    const char *other;   // a body of the shortest length built from the other allowed characters
    const char *refused; // from position 13 on, one character each position refuses; blank: any is allowed
};

const Layout kLayouts[] = {
    {{kType0203, kType0204}, true, "A", "e"},
    {{kType0403}, false, "!!!a90~", "xxxExx "},
    {{kType0404}, false, "!-!p09~", "xxxexx "},
    {{kType2001, kType2002}, false, "01010101!FOFOFOFO!S90~", "22222222xooooooooxVxx "},
    {{kType0501}, true, "4499Nt995959~99999999999", "55xxjexx6x6x xxxxxxxxxxx"},
    {{kType0401}, true, "AA99Na99595999", "OOxxjnxx6x6xxx"},
    {{kType0402}, true, "FF99Np99595999", "EExxjexx6x6xxx"},
    {{kType0901}, true, "995959FFFFF-9DFFFFF99999999999", "xx6x6xoooooxxNoooooxxxxxxxxxxx"},
    {{kType0701, kType0601}, true, "FFFFFF995959995959FFFFFF99999999999", "ooooooxx6x6xxx6x6xooooooxxxxxxxxxxx"},
    {{kType1000}, false,
     "V99" "391999" "999" "999" "391999" "391999" "2959" "2959" "1111111111111111111111" "2" "6"
     "2959" "4" "--------------------" "99,9" "~~~9" "391999" "2959" "~~~~",
     "vxx" "4x2xxx" "xxx" "xxx" "4x2xxx" "4x2xxx" "3x6x" "3x6x" "2222222222222222222222" "3" "7"
     "3x6x" "5" "4x2xxx" "4x2xxx" "3x6x" "3x6x" "xx.x" "   x" "4x2xxx" "3x6x" "    "},
};

// The sample and a body of the other allowed characters pass; one refused
// character at any constrained position fails; one more character passes only
// an open layout, one less fails every layout.
TEST(MessageGrammar, EveryPositionOfEveryLayout)
{
    for (const Layout &l : kLayouts) {
        ASSERT_EQ(strlen(l.other), strlen(l.refused));
        for (int type : l.types) {
            const QString sample = sampleMessage(type);
            const std::string code = deviceTypeCodeOf(type).toStdString();
            ASSERT_EQ(sample.size(), 12 + int(strlen(l.refused))) << code;
            const QString other = withAt(sample, 13, QLatin1String(l.other));
            EXPECT_TRUE(checkMessageSyntax(sample) && checkMessageSyntax(other)) << code;
            EXPECT_EQ(checkMessageSyntax(other + u'~'), l.open) << code;
            EXPECT_FALSE(checkMessageSyntax(sample.chopped(1))) << code;
            for (int i = 0; l.refused[i]; ++i) {
                const bool any = l.refused[i] == ' ';
                EXPECT_EQ(checkMessageSyntax(withAt(sample, 13 + i, QString(QChar(any ? '~' : l.refused[i])))), any)
                    << code << " @" << 13 + i;
            }
        }
    }
    // The layout follows the header's type code: a 0403 body behind a 0203 header passes only with E or A at 13.
    // A bad type code or length digit or type 0 fails; the header's address and kind are not read.
    const QString l = sampleMessage(kType0403), as0203 = withAt(l, 6, "0203");
    EXPECT_EQ(QList<bool>({checkMessageSyntax(as0203), checkMessageSyntax(withAt(as0203, 13, "E")), checkSyntax(kType0403, as0203),
                           checkMessageSyntax(withAt(l, 6, "0999")), checkMessageSyntax(withAt(l, 12, "X")), checkSyntax(0, l),
                           checkMessageSyntax(withAt(l, 1, "X01.A"))}),
              QList<bool>({false, true, true, false, false, false, true}));
}

// Unit 1 a 0403 with four description parts, unit 2 a 2001 with two.
class Messages : public ::testing::Test
{
protected:
    Messages()
    {
        describe(1, kType0403, {"Halle", "Tor", "Rampe", "Brandmelder"});
        describe(2, kType2001, {"Keller", "Türkontakt"});
    }
    ~Messages() override { units().clear(), settings().akkulaufzeit = 0; }
    static void describe(int addr, int deviceType, const QStringList &parts)
    {
        UnitRecord &unit = units().at(addr);
        unit.exists = true;
        unit.frame = sampleMessage(deviceType).left(12);
        unit.description.clear();
        for (const QString &part : parts)
            unit.description += part.leftJustified(1200 / int(parts.size()));
    }

    TempAppFolder folder;
};

const QString kUnsupported = "HINWEIS: Der Gerätetyp kann mit dieser Softwareversion nicht ausgewertet werden!\r\n";

TEST_F(Messages, DescriptionOfAnAutomaticMessage)
{
    const QString head = "Geräteadresse: 001\r\nGerätetyp: QOR-TD\r\n", one = "Kontakt 1: FEHLER\r\nKontakt 1 (Beschreibung): ";
    const QString regler = "Geräteadresse: 002\r\nGerätetyp: Dravik-Regler\r\n", broken = "Nachricht syntaktisch falsch!\r\nMeldung: ";
    const QString message = sampleMessage(kType0403), long0403 = message + u'x', phases = sampleMessage(kType0404);
    const QString sample2001 = sampleMessage(kType2001, "002"), bad2001 = withAt(sample2001, 31, "X");
    const QString reglerText = regler + "Gerätebeschreibung: Keller\r\nMeldeeingang: FEHLER\r\nMeldeeingang (Beschreibung): Türkontakt\r\n";
    const QList<QPair<QString, QString>> cases = {
        {message, head + "Gerätebeschreibung: Halle\r\n"},
        {withAt(message, 13, "!--") + "\r\n\n", head + "Gerätebeschreibung: Halle\r\n" + one + "Tor\r\n"},
        {withAt(message, 13, "!-!"), head + "Gerätebeschreibung: Halle\r\n" + one + "Tor\r\n"
                                         "Kontakt 3: FEHLER\r\nKontakt 3 (Beschreibung): Brandmelder\r\n"},
        {sample2001, reglerText},
        {withAt(sample2001, 21, "!"), reglerText},
        // malformed, unsupported, line noise
        {long0403 + "\r\n", head + broken + long0403},
        {bad2001, regler + broken + bad2001},
        // a well-formed 0404 message is one this station cannot read, not a broken one
        {phases, "Geräteadresse: 001\r\n" + kUnsupported + "Gerätetyp: QOR-5K\r\nMeldung: " + phases + "\r\nGerätebeschreibung: Halle"},
        {phases + u'x', "Geräteadresse: 001\r\nGerätetyp: QOR-5K\r\n" + broken + phases + u'x'},
        // the same layout and name as 2001, but not a type this station reads
        {sampleMessage(kType2002, "002"), "Geräteadresse: 002\r\n" + kUnsupported + "Gerätetyp: Dravik-Regler\r\nMeldung: "
                                              + sampleMessage(kType2002, "002") + "\r\nGerätebeschreibung: Keller"},
        {"X01.A0403019!--e12x", "Geräteadresse: X01\r\nGerätetyp: QOR-TD\r\nGerätebeschreibung: \r\n" + one + "\r\n"},
        {"S5", "Geräteadresse: S5\r\n" + kUnsupported + "Gerätetyp: Unbekanntes Protokoll\r\nMeldung: S5\r\nGerätebeschreibung: "},
    };
    for (const auto &[in, text] : cases)
        EXPECT_EQ(describeMessage(in), text) << in.toStdString();
}

constexpr int F = kEvalFault;
constexpr int OK = kEvalOk;
const char16_t *const kSmall = u"Akkukapazität zu klein";

// One change to a quiet sample per row: the mode, the battery duration, the
// result and the reasons (none: "Gerät OK", or a fault without a line).
TEST_F(Messages, EvaluationRulesOfEveryType)
{
    const struct { int type; int pos; const char *change; bool capacity; int akku; int result;
                   std::initializer_list<const char16_t *> reasons; } cases[] = {
        {kType0203, 13, "A", false, 1, F, {u"Leuchtmittelfehler"}},
        {kType0204, 13, "A", true, 0, F, {u"Leuchtmittelfehler"}},
        {kType0403, 13, "!-!", false, 1, F, {u"Meldekontakt 1 betätigt (Tor)", u"Meldekontakt 3 betätigt (Brandmelder)"}},
        {kType0404, 14, "!", true, 1, F, {u"L2 Ausfall (Rampe)"}},
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
        // the inverter counts hour boundaries of its last duration test (77-96); every field must be digits
        {kType1000, 77, "010321010321" "1059" "1100", true, 1, OK, {}},
        {kType1000, 77, "010321010321" "1059" "1100", true, 0, F, {kSmall}},
        {kType1000, 77, "010321010321" "1000" "1059", true, 1, F, {kSmall}},
        {kType1000, 77, "311220010121" "2330" "0210", true, 3, OK, {}},
        {kType1000, 77, "010321010321" "1105" "0800", true, 3, OK, {}},
        {kType1000, 77, "--------------------", true, 1, F, {kSmall}},
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
        QString text = c.result == OK ? "Gerät OK\r\n" : "";
        for (const char16_t *r : c.reasons)
            text += "\tFEHLER: " + QString::fromUtf16(r) + "\r\n";
        const Evaluation e = evaluateStatus(c.type, withAt(sampleMessage(c.type), c.pos, c.change), c.capacity);
        EXPECT_TRUE(e.result == c.result && e.text == text)
            << c.type << " @" << c.pos << " " << c.change << " " << c.capacity << c.akku << ": " << e.text.toStdString();
    }
    for (int type = 1; type <= kDeviceTypeCount; ++type)
        for (bool capacity : {false, true})
            EXPECT_EQ(evaluateStatus(type, sampleMessage(type), capacity).result, OK) << type;

    // The test log's block names the sender; line noise and unknown types get no description and no crash.
    QString block;
    EXPECT_EQ(evaluateMessage(sampleMessage(kType0403), false, "t.log", &block), kStateOk);
    EXPECT_EQ(block, u"\tSTATUS: OK\r\n");
    EXPECT_EQ(evaluateMessage(withAt(sampleMessage(kType0403), 15, "!"), true, "t.log", &block), kStateFault);
    EXPECT_EQ(block, u"\tFEHLER: Meldekontakt 3 betätigt (Brandmelder)\r\n");
    EXPECT_EQ(evaluateMessage("X01S00999012", false, "t.log", &block), kStateFault);
    EXPECT_EQ(block, u"\tFEHLER: Ungültiger Gerätetyp (0999)");
    EXPECT_EQ(evaluateMessage("-12S00403020---e12xy", false, "t.log"), kStateFault);
    EXPECT_EQ(evaluateMessage("005", true, "t.log"), kStateFault);
    EXPECT_EQ(codepage::decode(folder.read("logs/t.log")),
              "Adresse 001\r\n\tTyp: QOR-TD\r\n\tStatus: OK\r\n\r\n"
              "Adresse 001\r\n\tTyp: QOR-TD\r\n\tStatus: FEHLER\r\n\tBeschreibung: Halle\r\n"
              "\tFEHLER: Meldekontakt 3 betätigt (Brandmelder)\r\n\r\n"
              "Adresse X01\r\n\tTyp: Ungültiger Gerätetyp\r\n\tStatus: FEHLER\r\n\tBeschreibung: \r\n"
              "\tFEHLER: Ungültiger Gerätetyp (0999)\r\n"
              "Adresse -12\r\n\tTyp: QOR-TD\r\n\tStatus: FEHLER\r\n\tBeschreibung: \r\n"
              "\tFEHLER: Statusmeldung syntaktisch falsch\r\n\r\n"
              "Adresse 005\r\n\tTyp: Unbekanntes Protokoll\r\n\tStatus: FEHLER\r\n\tBeschreibung: \r\n"
              "\tFEHLER: Ungültiger Gerätetyp ()\r\n");
}

// A NUL passes the header's address pattern; past a broken header any character reaches the log.
TEST_F(Messages, TheUnitsControlCharactersStayInsideTheirTestLogLines)
{
    QString fault;
    EXPECT_EQ(evaluateMessage(withAt(sampleMessage(kType0403), 1, QString(QChar(0))), false, "t.log"), kStateOk);
    EXPECT_EQ(evaluateMessage("\r\n1S0\r\n[012", false, "t.log", &fault), kStateFault);
    EXPECT_EQ(fault, "\tFEHLER: Ungültiger Gerätetyp (<CR><LF>[0)") << "also the unit's stored fault text";
    EXPECT_EQ(folder.read("logs/t.log"), codepage::encode("Adresse <NUL>01\r\n\tTyp: QOR-TD\r\n\tStatus: OK\r\n\r\n"
                                                          "Adresse <CR><LF>1\r\n\tTyp: Unbekanntes Protokoll\r\n\tStatus: FEHLER\r\n"
                                                          "\tBeschreibung: \r\n\tFEHLER: Ungültiger Gerätetyp (<CR><LF>[0)\r\n"));
}

} // namespace
