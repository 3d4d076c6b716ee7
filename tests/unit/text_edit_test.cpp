// Part of a text, replacing inside a text and splitting a text into a text array.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

std::string mid(const char* text, double start, double count)
{
    return rtMidText(RtString(text), start, count).c_str();
}

std::string replace(const char* text, const char* find, const char* with)
{
    return rtReplaceText(RtString(text), RtString(find), RtString(with)).c_str();
}

std::vector<std::string> split(const char* text, const char* delimiters)
{
    RtTextArray array;
    int count = int(rtSplitText(RtString(text), array, RtString(delimiters)));
    EXPECT_EQ(count, array.size1);
    std::vector<std::string> parts;
    for (int i = 0; i < count; ++i)
        parts.push_back(rtTextArrayAt(array, i).c_str());
    return parts;
}

using Parts = std::vector<std::string>;

} // namespace

TEST(TextEdit, MidTextCutsAtTheEndAndRefusesBadStarts)
{
    EXPECT_EQ(mid("ABCDE", 1, 3), "BCD");
    EXPECT_EQ(mid("ABCDE", 3, 10), "DE");
    EXPECT_EQ(mid("ABCDE", 0, 5), "ABCDE");
    EXPECT_EQ(mid("ABCDE", 1.7, 2.9), "BC");
    EXPECT_EQ(mid("ABCDE", -1, 3), "");
    EXPECT_EQ(mid("ABCDE", 5, 1), "");
    EXPECT_EQ(mid("ABCDE", 6, 1), "");
    EXPECT_EQ(mid("ABCDE", 2, 0), "");
    EXPECT_EQ(mid("ABCDE", 2, -3), "");
    EXPECT_EQ(mid("", 0, 3), "");
    EXPECT_EQ(mid("ABCDE", std::nan(""), 2), "");
    EXPECT_EQ(mid("ABCDE", 1, INFINITY), "BCDE");
    EXPECT_EQ(mid("ABCDE", INFINITY, 1), "");
}

TEST(TextEdit, ReplaceWithEqualAndUnequalLengths)
{
    EXPECT_EQ(replace("a-b-c", "-", "+"), "a+b+c");
    EXPECT_EQ(replace("abab", "ab", "ba"), "baba"); // equal lengths: the replacement is not searched again
    EXPECT_EQ(replace("aaaa", "aa", "a"), "a");
    EXPECT_EQ(replace("aaa", "a", "bb"), "bbbbbb");
    EXPECT_EQ(replace("abab", "ab", "x"), "xx");
    EXPECT_EQ(replace("hello world", "xyz", "q"), "hello world");
    EXPECT_EQ(replace("Hello", "h", "J"), "Hello"); // case-sensitive
}

TEST(TextEdit, ReplaceEndsForEveryInput)
{
    EXPECT_EQ(replace("abc", "", "x"), "abc");   // an empty find text replaces nothing
    EXPECT_EQ(replace("aabcbc", "abc", ""), ""); // a removal joins a new match from before it
    EXPECT_EQ(replace("abcabc", "abc", ""), "");
    EXPECT_EQ(replace("a", "a", "aa"), "aa"); // a replacement holding the find text
    EXPECT_EQ(replace("", "a", "b"), "");
    std::string many(2000, 'a');
    EXPECT_EQ(replace(many.c_str(), "a", "aa"), std::string(4000, 'a'));
}

TEST(TextEdit, SplitSkipsRunsButKeepsTrailingDelimiters)
{
    EXPECT_EQ(split("a,b,,c", ","), (Parts{"a", "b", "c"}));
    EXPECT_EQ(split(",a", ","), (Parts{"a"}));
    EXPECT_EQ(split("a,", ","), (Parts{"a"}));
    EXPECT_EQ(split("a,,", ","), (Parts{"a", ""}));
    EXPECT_EQ(split(",,,", ","), (Parts{"", "", ""}));
    EXPECT_EQ(split("", ","), Parts{});
    EXPECT_EQ(split("one two;three", " ;"), (Parts{"one", "two", "three"}));
    EXPECT_EQ(split("whole text", ","), (Parts{"whole text"}));
}

TEST(TextEdit, SplitWithoutDelimitersGivesTheWholeText)
{
    EXPECT_EQ(split("a,b", ""), (Parts{"a,b"}));
    EXPECT_EQ(split("", ""), Parts{});
}

TEST(TextEdit, SplitReplacesTheArrayEvenWhenTheTextComesFromIt)
{
    RtTextArray array;
    rtDimTextArray(array, 3, 0, 0, 0);
    rtTextArrayAt(array, 0) = "x;y";
    rtTextArrayAt(array, 2) = "old";
    EXPECT_EQ(rtSplitText(rtTextArrayAt(array, 0), array, RtString(";")), 2);
    EXPECT_EQ(array.size1, 2);
    EXPECT_STREQ(rtTextArrayAt(array, 0).c_str(), "x");
    EXPECT_STREQ(rtTextArrayAt(array, 1).c_str(), "y");
    EXPECT_TRUE(array.data[2].empty());

    EXPECT_EQ(rtSplitText(RtString(""), array, RtString(";")), 0);
    EXPECT_EQ(array.size1, 0);
}
