// A scripted stand-in for the runtime commands Flipmatics calls, for frame-exact tests of the game.
//
// Time is counted in frames of player time. rtShowFrame shows a frame and moves time on by one; when
// the game polls keys without showing frames (it waits for a key to be let go), time moves on by
// one for every pollsPerWait polls, as the player keeps living meanwhile. Keys are held over
// ranges of time. Every command call is recorded with the frame and time it came in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace standin {

// Thrown by rtShowFrame once the scripted frames are used up, or by rtKeyState when time runs out
// while the game waits: the game's loops never return on their own.
struct ScriptEnded
{
};
// Thrown by rtEnd: the program ended through the game's end command.
struct ProgramEnded
{
};
// Thrown by rtEndWithCode (an array access out of range, for instance).
struct EndedWithCode
{
    double code;
};

struct Call
{
    std::string name;         // command name, e.g. "rtDrawSprite"
    std::vector<double> args; // its numbers in order
    std::string text;         // its text, if it takes one
    double result = 0;        // what it returned
    long frame = 0;           // frames shown before the call
    long time = 0;            // player time of the call
};

constexpr int pollsPerWait = 64;

struct Script
{
    long frameLimit = 100000;      // rtShowFrame throws ScriptEnded when this many frames were shown
    long timeLimit = 100000;       // rtKeyState throws ScriptEnded when a wait outlasts this time
    long soundFrames = 30;         // how long a started sound plays
    std::function<void()> onFrame; // called in every rtShowFrame, after time moved on
};

// A fresh run: no calls, no keys, frame and time 0, the random generator seeded.
void reset(uint32_t seed = 1, Script script = {});
// The key is down for player times from..to - 1.
void holdKey(int code, long from, long to);
// The key is down for the next frame only (call from onFrame).
void pressNextFrame(int code);

long frame();
long time();
const std::vector<Call>& calls();
// Calls of one command, optionally only those whose first number is `first`.
std::vector<Call> callsOf(const std::string& name);
std::vector<Call> callsOf(const std::string& name, double first);
// All calls made while frame `f` was being drawn (before its rtShowFrame, which is included).
std::vector<Call> callsInFrame(long f);

} // namespace standin
