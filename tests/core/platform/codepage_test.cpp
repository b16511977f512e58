#include "core/platform/codepage.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(CodePage, RoundTripsAndMarksWhatItCannotHold)
{
    const QString text = QStringLiteral("Prüfung ÄÖÜß € „x“ – Ÿ");
    const QByteArray bytes = codepage::encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(2)), 0xFC);
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(bytes.indexOf('x') - 1)), 0x84);
    EXPECT_EQ(codepage::decode(bytes), text);

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(codepage::encode(codepage::decode(all)), all);

    // A character outside the code page becomes one "?", also outside the basic plane.
    EXPECT_EQ(codepage::encode(QStringLiteral("a\u0416b")), QByteArray("a?b"));
    EXPECT_EQ(codepage::encode(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
}
