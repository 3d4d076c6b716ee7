// The text-entry line editor's state from pass to pass: the text being edited (changed in place) and
// the blinking cursor. rtInputText runs one pass per frame.
#pragma once

#include "runtime/values/rt_string.h"

namespace rt {

struct LineEditor
{
    explicit LineEditor(RtString& edited) : text(edited) {}

    // One pass with the typed character (0 when none): no character advances the blink counter, and
    // past 20 it starts again and the cursor flips; Backspace (8) cuts the last byte, any other
    // character but Return is appended. False for Return (10): the entry is over.
    bool take(int character);
    // The text as shown: followed by "_" while the cursor is visible.
    RtString shownText() const;

    RtString& text;
    int blinkCounter = 0;
    bool cursorVisible = false;
};

} // namespace rt
