// RtString storage and the number/text rules.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runtime/runtime.h"

using namespace rt;

TEST(RtStringStorage, EmptyValuesShareOneBufferAndAllocateNothing)
{
    RtString a, b;
    EXPECT_EQ(a.capacity(), 0u);
    EXPECT_STREQ(a.c_str(), "");
    EXPECT_EQ(a.c_str(), b.c_str());
    RtString copy(a);
    EXPECT_EQ(copy.capacity(), 0u);
}

TEST(RtStringStorage, CapacityGrowsInSteps512AndNeverShrinks)
{
    RtString text;
    text.reserve(0);
    EXPECT_EQ(text.capacity(), 512u);
    text.reserve(511);
    EXPECT_EQ(text.capacity(), 512u);
    text.reserve(512);
    EXPECT_EQ(text.capacity(), 1024u);

    RtString moved("keep me");
    moved.reserve(100);
    moved.reserve(600);
    EXPECT_EQ(moved.capacity(), 1024u);
    EXPECT_STREQ(moved.c_str(), "keep me");
    moved = "x";
    EXPECT_EQ(moved.capacity(), 1024u);
}

TEST(RtStringStorage, BufferOfAndRecountFollowTheWrittenText)
{
    RtString text;
    char* buffer = text.bufferOf(10);
    strcpy(buffer, "written");
    text.recount();
    EXPECT_EQ(text.length(), 7u);
    text.cutAt(3);
    EXPECT_STREQ(text.c_str(), "wri");
    EXPECT_EQ(text.length(), 3u);
}

TEST(RtStringStorage, AppendingItselfAcrossAGrowthKeepsTheText)
{
    RtString text(std::string(400, 'a').c_str());
    text += text; // 800 bytes: the buffer moves while its own bytes are appended
    EXPECT_EQ(text.length(), 800u);
    EXPECT_EQ(std::string(text.c_str()), std::string(800, 'a'));
}

TEST(RtStringStorage, LongTextsAndHighBytesAreBytes)
{
    std::string big(100000, 'z');
    big[50000] = char(0xE9);
    RtString text(big.c_str());
    EXPECT_EQ(text.length(), 100000u);
    EXPECT_EQ(text.charAt(50000), 0xE9);
    RtString upper = text.upperCase();
    EXPECT_EQ(upper.charAt(50000), 0xE9);
    EXPECT_EQ(upper.charAt(0), 'Z');
}

TEST(NumberText, RealsUseTenSignificantDigitsWithoutTrailingPoint)
{
    EXPECT_STREQ(RtString(5.0).c_str(), "5");
    EXPECT_STREQ(RtString(0.0).c_str(), "0");
    EXPECT_STREQ(RtString(0.5).c_str(), "0.5");
    EXPECT_STREQ(RtString(-2.25).c_str(), "-2.25");
    EXPECT_STREQ(RtString(1.0 / 3).c_str(), "0.3333333333");
    EXPECT_STREQ(RtString(1234567890.0).c_str(), "1234567890");
    EXPECT_STREQ(RtString(0.1 + 0.2).c_str(), "0.3");
    EXPECT_STREQ(RtString(-15).c_str(), "-15");
    EXPECT_STREQ(RtString(39).c_str(), "39");
    EXPECT_STREQ(RtString(1e10).c_str(), "1e+10");
}

TEST(NumberText, TextBecomesTheNumberAtItsStart)
{
    EXPECT_EQ(textToNumber("12abc"), 12);
    EXPECT_EQ(textToNumber("abc"), 0);
    EXPECT_EQ(textToNumber(" -3.5e2"), -350);
    EXPECT_EQ(textToNumber("\t+.5"), 0.5);
    EXPECT_EQ(textToNumber("7e"), 7);
    EXPECT_EQ(textToNumber("."), 0);
    EXPECT_EQ(textToNumber("0x1A"), 0); // no hexadecimal
    EXPECT_EQ(textToNumber("inf"), 0);
    EXPECT_EQ(textToNumber("nan"), 0);
    EXPECT_EQ(textToNumber(std::string(5000, '1').c_str()), HUGE_VAL);
    EXPECT_EQ(textToNumber(("0." + std::string(5000, '0') + "1").c_str()), 0);
}

TEST(RtStringOperators, ConcatenationTurnsNumbersIntoText)
{
    RtString name = rtConcat(rtConcat(rtConcat("images/pic", "0"), 7), ".bmp");
    EXPECT_STREQ(name.c_str(), "images/pic07.bmp");
    EXPECT_STREQ((RtString("a") + 1.5 + 2).c_str(), "a1.52");
    EXPECT_STREQ((3 + RtString("b")).c_str(), "3b");
    EXPECT_STREQ(rtConcat(0.25, "x").c_str(), "0.25x");
    RtString empty;
    empty += 10;
    EXPECT_STREQ(empty.c_str(), "10");
}

TEST(RtStringOperators, TextComparisonsAreBytewise)
{
    EXPECT_EQ(RtString("abc") < RtString("abd"), 1);
    EXPECT_EQ(RtString("ab") < "abc", 1);
    EXPECT_EQ(RtString() == RtString(), 1);
    EXPECT_EQ(RtString("b") > "a", 1);
    EXPECT_EQ(RtString("\xe9") > "z", 1); // bytes compare unsigned
    EXPECT_EQ(RtString("9") > RtString("10"), 1);
    EXPECT_EQ(RtString("abc") != "abc", 0);
}

TEST(RtStringOperators, TextMeetsNumberAsANumber)
{
    EXPECT_EQ(RtString("10") == 10, 1);
    EXPECT_EQ(RtString("abc") == 0, 1);
    EXPECT_EQ(RtString("9") < 10, 1);
    EXPECT_EQ(10 >= RtString("10.0"), 1);
    EXPECT_EQ(RtString("1") == std::nan(""), 0);
    EXPECT_EQ(RtString("1") != std::nan(""), 1);
    EXPECT_EQ(rtCompareTextWithNumber("5", 7), -1);
    EXPECT_EQ(rtCompareTextWithNumber("7", 7), 0);
    EXPECT_EQ(rtCompareTextWithNumber("8", 7), 1);
}

TEST(TextCommands, CodesAndCharacters)
{
    EXPECT_EQ(rtCharCode(""), 0);
    EXPECT_EQ(rtCharCode("\xff"), 255);
    EXPECT_STREQ(rtCharFromCode(65).c_str(), "A");
    EXPECT_STREQ(rtCharFromCode(0).c_str(), "");
    EXPECT_STREQ(rtCharFromCode(256).c_str(), "");
    EXPECT_STREQ(rtCharFromCode(0x4241).c_str(), "AB");
    EXPECT_STREQ(rtCharFromCode(-1).c_str(), "\xff\xff");
    EXPECT_STREQ(rtCharFromCode(std::nan("")).c_str(), "");
    EXPECT_EQ(rtTextLength("hello"), 5);
    EXPECT_EQ(rtNumberTextLength(0.5), 3);
}

TEST(TextCommands, FormattedNumbers)
{
    EXPECT_STREQ(rtFormatNumber(3, 2, 3.14159).c_str(), "3.14");
    EXPECT_STREQ(rtFormatNumber(3, 2, 7).c_str(), "7.00");
    EXPECT_STREQ(rtFormatNumber(6, 1, 2.5).c_str(), "   2.5");
    EXPECT_EQ(rtFormatNumber(100000, 2, 1).length(), 511u); // held to the 512-byte result
    EXPECT_STREQ(rtFormatNumber(0, -3, 2.5).c_str(), "2"); // no negative precision
    EXPECT_EQ(rtFormatNumber(std::nan(""), std::nan(""), 1.5) == "2", 1);
}

TEST(TextCommands, FindAndCase)
{
    EXPECT_EQ(rtFindText("hello", "lo"), 3);
    EXPECT_EQ(rtFindText("hello", "x"), -1);
    EXPECT_EQ(rtFindText("hello", ""), 0);
    EXPECT_STREQ(rtLowerText("\xc1" "BC").c_str(), "\xc1" "bc");
    EXPECT_STREQ(rtUpperText("mIx3d").c_str(), "MIX3D");
}
