// The text-entry line editor pass by pass: editing keys and the cursor's blink rhythm.
#include <gtest/gtest.h>

#include <string>

#include "runtime/input/input_waits.h"

using namespace rt;

namespace {

// Feeds the characters one pass each; returns whether the editor still runs after the last one.
bool type(LineEditor& editor, const std::string& characters)
{
    bool running = true;
    for (char c : characters)
        running = editor.take((unsigned char)c);
    return running;
}

TEST(LineEditor, EditsInPlaceUntilReturn)
{
    RtString text;
    LineEditor editor(text);
    EXPECT_TRUE(type(editor, "\b\b"));
    EXPECT_STREQ(text.c_str(), "") << "Backspace on an empty text changes nothing";
    EXPECT_TRUE(type(editor, "ab\bc"));
    EXPECT_STREQ(text.c_str(), "ac");
    EXPECT_FALSE(editor.take(10));
    EXPECT_STREQ(text.c_str(), "ac") << "Return is not part of the text";

    RtString start("x");
    LineEditor again(start);
    type(again, "\b\by1");
    EXPECT_STREQ(start.c_str(), "y1") << "the variable's own text is edited";
}

TEST(LineEditor, TheCursorShowsFromThe21stIdlePassFor21Passes)
{
    RtString text("ab");
    LineEditor editor(text);
    int firstOn = 0, firstOffAgain = 0, secondOn = 0;
    for (int pass = 1; pass <= 70; ++pass) {
        editor.take(0);
        bool shown = editor.shownText() == "ab_";
        if (shown && !firstOn) firstOn = pass;
        if (!shown && firstOn && !firstOffAgain) firstOffAgain = pass;
        if (shown && firstOffAgain && !secondOn) secondOn = pass;
        if (!shown) {
            EXPECT_STREQ(editor.shownText().c_str(), "ab");
        }
    }
    EXPECT_EQ(firstOn, 21);
    EXPECT_EQ(firstOffAgain, 42);
    EXPECT_EQ(secondOn, 63);
}

TEST(LineEditor, TypingNeitherCountsNorResetsTheBlink)
{
    RtString text;
    LineEditor editor(text);
    type(editor, std::string(10, '\0'));
    type(editor, "abc\b");
    type(editor, std::string(10, '\0'));
    EXPECT_FALSE(editor.cursorVisible);
    editor.take(0);
    EXPECT_TRUE(editor.cursorVisible) << "the 21st pass without a key shows it";
    EXPECT_STREQ(editor.shownText().c_str(), "ab_");
}

} // namespace
