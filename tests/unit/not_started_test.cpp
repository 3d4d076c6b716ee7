// Commands called before start-up: one line each on standard error, the failure value, no crash.
#include <gtest/gtest.h>

#include <string>

#include "runtime/runtime.h"

TEST(BeforeStart, CommandsSayTheyWereCalledTooEarlyAndFail)
{
    testing::internal::CaptureStderr();
    rtDrawSprite(1, 10, 10);
    double width = -1, height = -1;
    rtScreenSize(width, height);
    double loaded = rtLoadSprite("card.bmp", 1);
    double key = rtKeyState(1);
    double mouseX = -1, mouseY = -1, left = -1, right = -1;
    rtMouseState(mouseX, mouseY, left, right);
    rtShowFrame();
    std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(said, "rtDrawSprite called before the engine started\n"
                    "rtScreenSize called before the engine started\n"
                    "rtLoadSprite called before the engine started\n"
                    "rtKeyState called before the engine started\n"
                    "rtMouseState called before the engine started\n"
                    "rtShowFrame called before the engine started\n");
    EXPECT_EQ(width + height + loaded + key, 0);
    EXPECT_EQ(mouseX + mouseY + left + right, 0);
}
