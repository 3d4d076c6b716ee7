// The main routine, the title menu and the level ladder, frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/game/game_test_support.h"

namespace {

using standin::Call;
using standin::callsOf;

// Runs the title menu from the start values until the script or the program ends; true when the
// program ended.
bool runMenu(long frames, std::function<void()> keys)
{
    standin::Script script;
    script.frameLimit = frames;
    standin::reset(11, script);
    setStartValues();
    keys();
    try {
        runUntilScriptEnds(runTitleMenu);
    } catch (const standin::ProgramEnded&) {
        return true;
    }
    return false;
}

std::vector<double> barTops()
{
    std::vector<double> tops;
    for (const Call& c : callsOf("rtDrawRect"))
        tops.push_back(c.args[1]);
    return tops;
}

TEST(Start, LoadsBackgroundFontPicturesAndSoundsIntoTheirSlots)
{
    standin::Script script;
    script.frameLimit = 2;
    standin::reset(1, script);
    runUntilScriptEnds(flipmaticsMain);

    const std::vector<Call>& calls = standin::calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "rtLoadBackground");
    EXPECT_EQ(calls[0].text, "images/background.bmp");
    EXPECT_EQ(calls[1].name, "rtShowFrame");
    EXPECT_EQ(calls[2].name, "rtLoadFont");
    EXPECT_EQ(calls[2].text, "images/myfont.bmp");
    EXPECT_EQ(calls[2].args[0], 0);
    EXPECT_EQ(calls[3].name, "rtSetFont");

    std::map<double, std::string> sprites;
    for (const Call& c : callsOf("rtLoadSprite"))
        sprites[c.args[0]] = c.text;
    EXPECT_EQ(sprites.size(), 40u + 1 + 6 + 3);
    EXPECT_EQ(sprites[0], "images/pic00.bmp");
    EXPECT_EQ(sprites[7], "images/pic07.bmp");
    EXPECT_EQ(sprites[39], "images/pic39.bmp");
    EXPECT_EQ(sprites[99], "images/usd.bmp");
    const char* cursor[] = {"images/csr0.bmp", "images/csr1.bmp", "images/csr2.bmp",
                            "images/csr3.bmp", "images/csr2.bmp", "images/csr1.bmp"};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(sprites[100 + k], cursor[k]);
    EXPECT_EQ(sprites[110], "images/picwin.bmp");
    EXPECT_EQ(sprites[111], "images/piclose.bmp");
    EXPECT_EQ(sprites[112], "images/picend.bmp");

    std::vector<Call> sounds = callsOf("rtLoadSound");
    const char* files[] = {"sounds/click.wav", "sounds/fail.wav", "sounds/ok.wav", "sounds/win.wav"};
    ASSERT_EQ(sounds.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(sounds[k].text, files[k]);
        EXPECT_EQ(sounds[k].args, (std::vector<double>{double(k), 1}));
    }
}

TEST(Menu, DrawsItsBarAtTheSelectedEntry)
{
    EXPECT_FALSE(runMenu(1, [] {}));
    std::vector<Call> frame = standin::callsInFrame(0);
    std::vector<std::vector<double>> bar;
    for (const Call& c : frame)
        if (c.name == "rtDrawLine" || c.name == "rtDrawRect") bar.push_back(c.args);
    std::vector<std::vector<double>> expected = {{0, 153, 319, 153, 128},
                                                 {0, 154, 319, 154, 128},
                                                 {0, 155, 319, 172, 192},
                                                 {0, 173, 319, 173, 255},
                                                 {0, 174, 319, 174, 255}};
    EXPECT_EQ(bar, expected);
}

TEST(Menu, HeldArrowClicksOnceAndMovesTheBarOnceWithinItsTwoEntries)
{
    EXPECT_FALSE(runMenu(45, [] {
        standin::holdKey(rtKeyDown, 2, 40);
        standin::holdKey(rtKeyDown, 50, 52); // on "Quit game" already: click, no move
        standin::holdKey(rtKeyUp, 60, 62);
        standin::holdKey(rtKeyUp, 70, 72); // on "Start game" already: click, no move
    }));
    EXPECT_EQ(callsOf("rtPlaySound", soundClick).size(), 4u);
    EXPECT_EQ(callsOf("rtPlaySound").size(), 4u);
    EXPECT_EQ(game.menuBar, 0);

    // No frame is shown while the key is held: the frame after the press comes at its release.
    for (const Call& c : callsOf("rtShowFrame"))
        EXPECT_FALSE(c.time >= 3 && c.time < 40) << c.time;
    std::vector<double> tops = barTops();
    std::vector<double> expected;
    for (const Call& c : callsOf("rtDrawRect"))
        expected.push_back(c.time <= 40 ? 155 : c.time <= 60 ? 175 : 155); // drawn before the keys
    EXPECT_EQ(tops, expected);
    EXPECT_NE(std::find(tops.begin(), tops.end(), 175), tops.end());
}

TEST(Menu, ChooseKeyStillHeldWhenTheMenuAppearsActsOnItsRelease)
{
    ASSERT_TRUE(runMenu(10, [] {
        game.menuBar = 20;
        standin::holdKey(rtKeyX, 0, 30);
    })) << "Quit game ends the program";
    EXPECT_EQ(standin::frame(), 1) << "one menu frame, then waiting for the release";
    std::vector<Call> sounds = callsOf("rtPlaySound");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].args, (std::vector<double>{soundFail, 0, 1}));
    EXPECT_GE(sounds[0].time, 30);
}

TEST(Menu, StartGamePlaysTheOkSoundAndDealsLevelOne)
{
    EXPECT_FALSE(runMenu(5, [] { standin::holdKey(rtKeyReturn, 1, 3); }));
    std::vector<Call> sounds = callsOf("rtPlaySound");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].args[0], soundOk);
    EXPECT_EQ(game.rows, 2);
    EXPECT_EQ(game.cols, 3);
    EXPECT_EQ(game.cardsLeft, 6);
    EXPECT_EQ(game.triesLeft, 6);
    EXPECT_EQ(callsOf("rtLoadBackground").size(), 1u);
}

TEST(Ladder, WinningAllFiveLevelsShowsTheLastPictureThenPlaysTheWinSound)
{
    Autoplayer player;
    standin::Script script;
    script.frameLimit = 40000;
    script.onFrame = [&player] { player.onFrame(); };
    standin::reset(5, script);
    setStartValues();
    ASSERT_FALSE(runUntilScriptEnds(runLevelLadder));

    EXPECT_EQ(player.levelsStarted, (std::vector<double>{6, 8, 12, 16, 20}));
    // The still end picture of each level, in order.
    std::vector<double> endPictures;
    long previous = -2;
    for (const Call& c : callsOf("rtDrawSprite")) {
        if (c.args[0] < spriteLevelWon) continue;
        if (c.frame != previous + 1) endPictures.push_back(c.args[0]);
        previous = c.frame;
    }
    EXPECT_EQ(endPictures, (std::vector<double>{110, 110, 110, 110, 112}));

    // After the last picture: the background comes back, is shown, and then the win sound plays.
    const std::vector<Call>& calls = standin::calls();
    ASSERT_GE(calls.size(), 5u);
    auto tail = calls.end() - 5;
    EXPECT_EQ(tail[0].name, "rtDrawSprite");
    EXPECT_EQ(tail[0].args[0], spriteLastLevelWon);
    EXPECT_EQ(tail[1].name, "rtShowFrame");
    EXPECT_EQ(tail[2].name, "rtLoadBackground");
    EXPECT_EQ(tail[3].name, "rtShowFrame");
    EXPECT_EQ(tail[4].name, "rtPlaySound");
    EXPECT_EQ(tail[4].args, (std::vector<double>{soundWin, 0, 1}));
    EXPECT_EQ(callsOf("rtPlaySound", soundWin).size(), 1u);
}

TEST(Ladder, LostThirdLevelGoesBackToTheMenuAndTheNextGameStartsAtLevelOne)
{
    Autoplayer player;
    player.wantMatch = [] { return game.rows * game.cols != 12; };
    player.startFromMenu = [&player] { return player.levelsStarted.size() < 4; };
    standin::Script script;
    script.frameLimit = 20000;
    script.onFrame = [&player] {
        player.onFrame();
        if (player.levelsStarted.size() == 4) throw standin::ScriptEnded{};
    };
    standin::reset(9, script);
    runUntilScriptEnds(flipmaticsMain);

    EXPECT_EQ(player.levelsStarted, (std::vector<double>{6, 8, 12, 6}));
    EXPECT_EQ(game.triesLeft, 6);
    EXPECT_GE(player.menuFramesSeen, 2);
    EXPECT_EQ(callsOf("rtPlaySound", soundWin).size(), 0u);
    std::vector<double> lost;
    for (const Call& c : callsOf("rtDrawSprite", spriteLevelLost))
        lost.push_back(c.frame);
    EXPECT_EQ(lost.size(), 121u);
}

} // namespace
