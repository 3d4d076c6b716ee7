// One level frame by frame: deal, card places, cursor keys, turning, the pair check and the end
// animation.
#include <gtest/gtest.h>

#include <map>

#include "tests/game/game_test_support.h"

namespace {

using standin::Call;
using standin::callsOf;

struct LevelRun
{
    double rows = 2, cols = 3, cardsLeft = 6, triesLeft = 6, endPicture = spriteLevelWon;
    long frames = 200;
    // Replace the 2 × 3 deal, before the first board frame, by the pictures 5 5 7 / 7 9 9.
    bool knownLayout = true;
    std::function<void()> keys;      // holds keys once the run is set up
    std::function<void()> eachFrame; // called at the end of every frame
};

// Frame 0 of a level shows the empty board; board frames count from 1. Without key waits the player
// time equals the number of the frame being drawn, so keyAt(code, f) holds a key during frame f.
void keyAt(int code, long frame)
{
    standin::holdKey(code, frame, frame + 1);
}

// Plays one level; true when it ended on its own (won or lost) before the frames ran out.
bool play(const LevelRun& run)
{
    standin::Script script;
    script.frameLimit = run.frames;
    script.onFrame = [&run] {
        if (standin::frame() == 2 && run.knownLayout) { // after board frame 1 (the deal came before it)
            const double layout[2][3] = {{5, 5, 7}, {7, 9, 9}};
            for (int row = 0; row < 2; ++row)
                for (int column = 0; column < 3; ++column)
                    pictureAt(column, row) = layout[row][column];
        }
        if (run.eachFrame) run.eachFrame();
    };
    standin::reset(7, script);
    setStartValues();
    setLevel(run.rows, run.cols, run.cardsLeft, run.triesLeft, run.endPicture);
    if (run.keys) run.keys();
    return !runUntilScriptEnds(playLevel);
}

std::vector<Call> soundsInFrame(long f)
{
    std::vector<Call> sounds;
    for (const Call& c : standin::callsInFrame(f))
        if (c.name == "rtPlaySound") sounds.push_back(c);
    return sounds;
}

TEST(CardPlaces, CentreCardsInEqualCells)
{
    setStartValues();
    setLevel(2, 3, 6, 6, spriteLevelWon);
    EXPECT_NEAR(cardPlaceX(0), 21.333, 0.001);
    EXPECT_DOUBLE_EQ(cardPlaceX(1), 128);
    EXPECT_NEAR(cardPlaceX(2), 234.667, 0.001);
    EXPECT_DOUBLE_EQ(cardPlaceY(0), 30);
    EXPECT_DOUBLE_EQ(cardPlaceY(1), 150);

    setLevel(4, 5, 20, 14, spriteLastLevelWon);
    for (int k = 0; k < 5; ++k)
        EXPECT_DOUBLE_EQ(cardPlaceX(k), 64 * k);
    for (int k = 0; k < 4; ++k)
        EXPECT_DOUBLE_EQ(cardPlaceY(k), 60 * k);
}

TEST(Deal, EveryLevelGetsHalfAsManyPicturesAsCardsEachTwice)
{
    const double sizes[][2] = {{2, 3}, {2, 4}, {3, 4}, {4, 4}, {4, 5}};
    for (uint32_t seed = 1; seed <= 300; ++seed)
        for (const auto& size : sizes) {
            standin::reset(seed);
            setStartValues();
            setLevel(size[0], size[1], size[0] * size[1], 0, spriteLevelWon);
            dealCards();
            std::map<double, int> count;
            for (double row = 0; row < game.rows; ++row)
                for (double column = 0; column < game.cols; ++column) {
                    ASSERT_EQ(stateAt(column, row), 0);
                    double picture = pictureAt(column, row);
                    ASSERT_TRUE(picture >= 0 && picture <= 39 && picture == int(picture)) << picture;
                    ++count[picture];
                }
            ASSERT_EQ(count.size(), size_t(size[0] * size[1] / 2)) << "seed " << seed;
            for (auto [picture, n] : count)
                ASSERT_EQ(n, 2) << "picture " << picture << ", seed " << seed;
        }
}

TEST(Board, DrawsBacksAtTheCardPlacesAndTheCursorStepsFourFramesEach)
{
    LevelRun run;
    run.frames = 60;
    play(run);
    // Frame 1: six backs at the level-1 places row by row, the cursor right after the first card.
    std::vector<Call> frame1;
    for (const Call& c : standin::callsInFrame(1))
        if (c.name != "rtRandom") frame1.push_back(c); // the deal ran just before
    ASSERT_EQ(frame1.size(), 8u);
    const double expected1[7][3] = {{spriteCardBack, 21.333, 30},  {spriteCursorFirst, 21.333, 30},
                                    {spriteCardBack, 128, 30},     {spriteCardBack, 234.667, 30},
                                    {spriteCardBack, 21.333, 150}, {spriteCardBack, 128, 150},
                                    {spriteCardBack, 234.667, 150}};
    for (int k = 0; k < 7; ++k) {
        ASSERT_EQ(frame1[k].name, "rtDrawSprite");
        EXPECT_EQ(frame1[k].args[0], expected1[k][0]);
        EXPECT_NEAR(frame1[k].args[1], expected1[k][1], 0.001);
        EXPECT_EQ(frame1[k].args[2], expected1[k][2]);
    }
    EXPECT_EQ(frame1[7].name, "rtShowFrame");

    std::vector<double> steps;
    for (long f = 1; f <= 25; ++f)
        for (const Call& c : standin::callsInFrame(f))
            if (c.name == "rtDrawSprite" && c.args[0] >= spriteCursorFirst) steps.push_back(c.args[0]);
    std::vector<double> expected;
    for (int k = 0; k < 25; ++k)
        expected.push_back(spriteCursorFirst + (k % 24) / 4);
    EXPECT_EQ(steps, expected);
}

TEST(Board, HeldArrowMovesOnceThenEvery21Frames)
{
    std::vector<double> cursorAfter(80, -1);
    LevelRun run;
    run.rows = 4, run.cols = 5, run.cardsLeft = 20, run.triesLeft = 14, run.knownLayout = false;
    run.frames = 70;
    run.keys = [] { standin::holdKey(rtKeyRight, 2, 66); };
    run.eachFrame = [&] { cursorAfter[size_t(standin::frame() - 1)] = game.cursorX; };
    play(run);
    for (long f = 1; f < 66; ++f) {
        double expected = f < 2 ? 0 : f < 23 ? 1 : f < 44 ? 2 : f < 65 ? 3 : 4;
        ASSERT_EQ(cursorAfter[size_t(f)], expected) << "frame " << f;
    }
}

TEST(Board, TwoArrowsInOneFrameBothActAndTheCursorWraps)
{
    std::vector<std::pair<double, double>> cursorAfter(80);
    LevelRun run;
    run.frames = 70;
    run.keys = [] {
        keyAt(rtKeyRight, 2);
        keyAt(rtKeyDown, 2);
        keyAt(rtKeyLeft, 23);
        keyAt(rtKeyLeft, 44);
        keyAt(rtKeyUp, 44);
        keyAt(rtKeyRight, 65);
        keyAt(rtKeyRight, 66);
    };
    run.eachFrame = [&] { cursorAfter[size_t(standin::frame() - 1)] = {game.cursorX, game.cursorY}; };
    play(run);
    using Cell = std::pair<double, double>;
    EXPECT_EQ(cursorAfter[2], (Cell{1, 1}));
    EXPECT_EQ(cursorAfter[23], (Cell{0, 1}));
    EXPECT_EQ(cursorAfter[44], (Cell{2, 0})) << "left of column 0 and above row 0 wrap";
    EXPECT_EQ(cursorAfter[65], (Cell{0, 0})) << "right of the last column wraps";
    EXPECT_EQ(cursorAfter[66], (Cell{0, 0})) << "the arrows rest for 20 frames";
}

TEST(Board, ArrowsActBeforeTheChooseKeyOfTheSameFrame)
{
    LevelRun run;
    run.frames = 10;
    run.keys = [] {
        keyAt(rtKeyDown, 2);
        keyAt(rtKeySpace, 2);
    };
    play(run);
    EXPECT_EQ(stateAt(0, 0), 0);
    EXPECT_EQ(stateAt(0, 1), 8) << "turned in frame 2, grown by one in each of frames 3 to 9";
    EXPECT_EQ(game.firstPicture, 7);
}

TEST(Board, HeldChooseKeyTurnsOneCardAsItGrowsOverNineFrames)
{
    LevelRun run;
    run.frames = 60;
    run.keys = [] { standin::holdKey(rtKeySpace, 2, 50); };
    play(run);
    EXPECT_EQ(callsOf("rtPlaySound").size(), 1u);
    EXPECT_EQ(callsOf("rtPlaySound")[0].frame, 2);
    EXPECT_EQ(game.openCount, 1);
    EXPECT_EQ(game.firstPicture, 5);
    EXPECT_EQ(stateAt(0, 0), 10);
    for (double column = 1; column < 3; ++column)
        EXPECT_EQ(stateAt(column, 0), 0);

    // Frames 3 to 11 zoom the face about its place by 0.2 to 1.0; frame 12 draws it plainly.
    for (long f = 3; f <= 11; ++f) {
        std::vector<Call> zooms;
        for (const Call& c : standin::callsInFrame(f))
            if (c.name == "rtZoomSprite") zooms.push_back(c);
        ASSERT_EQ(zooms.size(), 1u) << "frame " << f;
        double scale = (f - 1) / 10.0;
        EXPECT_EQ(zooms[0].args[0], 5);
        EXPECT_NEAR(zooms[0].args[1], 21.333, 0.001);
        EXPECT_EQ(zooms[0].args[2], 30);
        EXPECT_NEAR(zooms[0].args[3], scale, 1e-12) << "frame " << f;
        EXPECT_EQ(zooms[0].args[4], zooms[0].args[3]);
    }
    EXPECT_TRUE(frameDrew(12, "rtDrawSprite", 5));
    EXPECT_FALSE(frameDrew(12, "rtZoomSprite", 5));
}

TEST(Board, ChoosingAFaceUpTurningOrRemovedCardDoesNothing)
{
    LevelRun run;
    run.frames = 120;
    run.keys = [] {
        keyAt(rtKeySpace, 2);
        keyAt(rtKeyRight, 3);
        keyAt(rtKeySpace, 24);
        keyAt(rtKeyRight, 25);
        keyAt(rtKeySpace, 46);
    };
    run.eachFrame = [] {
        if (standin::frame() == 2) {
            stateAt(0, 0) = 10; // face up, chosen in frame 2
            stateAt(2, 0) = -1; // taken off, chosen in frame 46
        }
        if (standin::frame() == 24) stateAt(1, 0) = 4; // turning, chosen in frame 24
    };
    play(run);
    EXPECT_TRUE(callsOf("rtPlaySound").empty());
    EXPECT_EQ(game.openCount, 0);
    EXPECT_EQ(stateAt(0, 0), 10);
    EXPECT_EQ(stateAt(1, 0), 10);
    EXPECT_EQ(stateAt(2, 0), -1);
}

// Turns (0, 0) in frame 2 and, after one step right, (1, 0) in frame 24 (pictures 5 and 5), or,
// after two steps, (2, 0) in frame 45 (pictures 5 and 7).
LevelRun tryPair(bool matching, std::vector<std::vector<double>>* statesAfter)
{
    LevelRun run;
    run.frames = 200;
    run.keys = [matching] {
        keyAt(rtKeySpace, 2);
        keyAt(rtKeyRight, 3);
        if (matching) {
            keyAt(rtKeySpace, 24);
        } else {
            keyAt(rtKeyRight, 24);
            keyAt(rtKeySpace, 45);
        }
    };
    run.eachFrame = [statesAfter] {
        if (standin::frame() < 2) return;
        statesAfter->push_back({stateAt(0, 0), stateAt(1, 0), stateAt(2, 0)});
    };
    return run;
}

TEST(Board, MatchingPairIsTakenOff97FramesAfterTheSecondCardWithOneAudibleSound)
{
    std::vector<std::vector<double>> states; // states[k] after frame k + 1
    play(tryPair(true, &states));
    std::vector<Call> clicks = callsOf("rtPlaySound", soundClick);
    ASSERT_EQ(clicks.size(), 2u);
    ASSERT_EQ(clicks[1].frame, 24);

    long check = 24 + 97;
    EXPECT_EQ(states[size_t(check - 2)], (std::vector<double>{10, 10, 0}));
    EXPECT_EQ(states[size_t(check - 1)], (std::vector<double>{-1, -1, 0}));
    std::vector<Call> sounds = soundsInFrame(check);
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].args, (std::vector<double>{soundOk, 0, 1}));
    EXPECT_EQ(sounds[1].args, (std::vector<double>{soundOk, 0, 1}));
    EXPECT_GE(sounds[0].result, 0) << "the first call is heard";
    EXPECT_EQ(sounds[1].result, -1) << "the one copy is still playing";
    EXPECT_EQ(callsOf("rtPlaySound", soundOk).size(), 2u);
    EXPECT_EQ(game.cardsLeft, 4);
    EXPECT_EQ(game.triesLeft, 6);
    EXPECT_EQ(game.openCount, 0);
}

TEST(Board, WrongPairTurnsBackAndCostsTwoTries)
{
    std::vector<std::vector<double>> states;
    play(tryPair(false, &states));
    long check = 45 + 97;
    EXPECT_EQ(states[size_t(check - 2)], (std::vector<double>{10, 0, 10}));
    EXPECT_EQ(states[size_t(check - 1)], (std::vector<double>{0, 0, 0}));
    std::vector<Call> sounds = soundsInFrame(check);
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].args[0], soundFail);
    EXPECT_EQ(sounds[1].args[0], soundFail);
    EXPECT_EQ(game.triesLeft, 4);
    EXPECT_EQ(game.cardsLeft, 6);
}

TEST(Board, NoThirdCardWhileTwoAreShownButTheCursorMoves)
{
    std::vector<std::vector<double>> states;
    LevelRun run = tryPair(true, &states);
    auto pairKeys = run.keys;
    run.keys = [pairKeys] {
        pairKeys();
        keyAt(rtKeyRight, 45);
        keyAt(rtKeySpace, 66);
    };
    play(run);
    EXPECT_EQ(game.cursorX, 2);
    EXPECT_EQ(callsOf("rtPlaySound", soundClick).size(), 2u);
    EXPECT_EQ(states[size_t(66 - 1)][2], 0);
}

TEST(Level, FirstLevelIsLostAtTheThirdWrongPairWithTheLostPicture)
{
    Autoplayer player;
    player.wantMatch = [] { return false; };
    LevelRun run;
    run.knownLayout = false;
    run.frames = 3000;
    run.eachFrame = [&player] { player.onFrame(); };
    ASSERT_TRUE(play(run)) << "the level ended";
    EXPECT_EQ(game.triesLeft, 0);
    EXPECT_EQ(game.cardsLeft, 6);
    EXPECT_EQ(callsOf("rtPlaySound", soundFail).size(), 6u); // two calls per wrong pair
    EXPECT_EQ(callsOf("rtPlaySound", soundOk).size(), 0u);

    // The end animation: cleared screen, 36 turning and growing frames, 121 still frames.
    std::vector<Call> clears = callsOf("rtClearScreen");
    ASSERT_EQ(clears.size(), 1u);
    long first = clears[0].frame;
    EXPECT_EQ(first, callsOf("rtPlaySound", soundFail).back().frame + 1);
    for (long k = 0; k < 36; ++k) {
        std::vector<Call> frame = standin::callsInFrame(first + k);
        const Call& draw = frame[k == 0 ? 1 : 0];
        double angle = 10.0 * (k + 1);
        ASSERT_EQ(draw.name, "rtDrawSpriteRotatedScaled") << k;
        EXPECT_EQ(draw.args, (std::vector<double>{spriteLevelLost, 60, 20, angle, angle / 360}));
    }
    for (long k = 36; k < 36 + 121; ++k) {
        std::vector<Call> frame = standin::callsInFrame(first + k);
        ASSERT_EQ(frame.size(), 2u);
        EXPECT_EQ(frame[0].args, (std::vector<double>{spriteLevelLost, 60, 20}));
    }
    EXPECT_EQ(standin::frame(), first + 157);
}

TEST(Level, LastMatchingPairWinsInTheFrameOfTheCheck)
{
    Autoplayer player;
    LevelRun run;
    run.knownLayout = false;
    run.frames = 3000;
    run.eachFrame = [&player] { player.onFrame(); };
    ASSERT_TRUE(play(run));
    EXPECT_EQ(game.cardsLeft, 0);
    EXPECT_EQ(game.triesLeft, 6);
    long lastCheck = callsOf("rtPlaySound", soundOk).back().frame;
    EXPECT_EQ(callsOf("rtClearScreen")[0].frame, lastCheck + 1);
    EXPECT_TRUE(frameDrew(lastCheck + 40, "rtDrawSprite", spriteLevelWon));
}

} // namespace
