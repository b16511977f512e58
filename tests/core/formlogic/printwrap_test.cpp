#include "core/formlogic/printwrap.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(PrintWrap, MarginAndLineLengthComeFromTheMeasuredLetters)
{
    // Courier 10 pt: six points, about 2.117 mm, a letter.
    const auto courier = [](int letters) { return letters * 2.1167; };
    const PrintLine a4 = measurePrintLine(courier, 190.0);
    EXPECT_EQ(a4.marginSpaces, 12);   // 11 letters are 23.3 mm, 12 are 25.4 mm
    EXPECT_EQ(a4.lineLength, 89 - 12);
    // Whatever the page, a line holds a letter; when 1000 fit, the line is 1000 long.
    EXPECT_EQ(measurePrintLine(courier, 26.0).lineLength, 1);
    const PrintLine wide = measurePrintLine([](int letters) { return letters * 0.1; }, 500.0);
    EXPECT_EQ(wide.marginSpaces, 251);
    EXPECT_EQ(wide.lineLength, 1000 - 251);
}

TEST(PrintWrap, EveryLineIsCutIntoPiecesAfterTheMargin)
{
    const PrintLine line{2, 3};
    EXPECT_EQ(wrapForPrint("abcdefg\r\n\r\nxyz\r\nrest", line),
              QStringList({"  abc", "  def", "  g", "  ", "  xyz", "rest"}));
    EXPECT_EQ(wrapForPrint("", line), QStringList());
    // A lone line feed is part of its line, not an end.
    EXPECT_EQ(wrapForPrint("ab\ncd\r\n", line), QStringList({"  ab\n", "  cd"}));
}
