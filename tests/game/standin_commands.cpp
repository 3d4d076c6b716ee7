// The stand-in's commands: each records its call; keys come from the script; sounds play for a
// fixed number of frames with one copy per slot, so a sound that still plays is not started again.
#include "tests/game/standin_commands.h"

#include <map>
#include <random>
#include <utility>

#include "runtime/runtime.h"

namespace standin {
namespace {

struct Hold
{
    int code;
    long from, to;
};

struct State
{
    Script script;
    std::vector<Call> calls;
    std::vector<size_t> frameFirstCall{0}; // index of the first call of each frame
    std::vector<Hold> holds;
    std::map<int, long> soundEnds; // slot → frame at which its sound stops
    std::mt19937 random;
    long frame = 0;
    long time = 0;
    int pollsSinceFrame = 0;
};

State state;

double record(const char* name, std::vector<double> args, std::string text = {}, double result = 0)
{
    state.calls.push_back({name, std::move(args), std::move(text), result, state.frame, state.time});
    return result;
}

} // namespace

void reset(uint32_t seed, Script script)
{
    // Field by field rather than from a temporary State, which GCC's -O3 flow analysis misreads.
    state.script = std::move(script);
    state.calls.clear();
    state.frameFirstCall.assign(1, 0);
    state.holds.clear();
    state.soundEnds.clear();
    state.random.seed(seed);
    state.frame = state.time = 0;
    state.pollsSinceFrame = 0;
}

void holdKey(int code, long from, long to)
{
    state.holds.push_back({code, from, to});
}
void pressNextFrame(int code)
{
    holdKey(code, state.time, state.time + 1);
}
long frame()
{
    return state.frame;
}
long time()
{
    return state.time;
}
const std::vector<Call>& calls()
{
    return state.calls;
}

std::vector<Call> callsOf(const std::string& name)
{
    std::vector<Call> found;
    for (const Call& c : state.calls)
        if (c.name == name) found.push_back(c);
    return found;
}

std::vector<Call> callsOf(const std::string& name, double first)
{
    std::vector<Call> found;
    for (const Call& c : state.calls)
        if (c.name == name && !c.args.empty() && c.args[0] == first) found.push_back(c);
    return found;
}

std::vector<Call> callsInFrame(long f)
{
    if (f < 0 || size_t(f) >= state.frameFirstCall.size()) return {};
    size_t first = state.frameFirstCall[size_t(f)];
    size_t end = size_t(f) + 1 < state.frameFirstCall.size() ? state.frameFirstCall[size_t(f) + 1]
                                                             : state.calls.size();
    return {state.calls.begin() + long(first), state.calls.begin() + long(end)};
}

} // namespace standin

using standin::record;
using standin::state;

void rtShowFrame()
{
    record("rtShowFrame", {});
    state.frame += 1;
    state.time += 1;
    state.frameFirstCall.push_back(state.calls.size());
    state.pollsSinceFrame = 0;
    if (state.script.onFrame) state.script.onFrame();
    if (state.frame >= state.script.frameLimit) throw standin::ScriptEnded{};
}

void rtEnd()
{
    record("rtEnd", {});
    throw standin::ProgramEnded{};
}

void rtEndWithCode(double code)
{
    record("rtEndWithCode", {code});
    throw standin::EndedWithCode{code};
}

double rtKeyState(double code)
{
    if (++state.pollsSinceFrame % standin::pollsPerWait == 0) state.time += 1;
    if (state.time > state.script.timeLimit) throw standin::ScriptEnded{};
    int key = toInt(code);
    double down = 0;
    for (const auto& hold : state.holds)
        if (hold.code == key && state.time >= hold.from && state.time < hold.to) down = 1;
    return down;
}

double rtRandom(double n)
{
    uint32_t modulus = uint32_t(toInt(n)) + 1;
    return record("rtRandom", {n}, {}, double(state.random() % modulus));
}

double rtLoadSound(const RtString& name, double slot, double copies)
{
    return record("rtLoadSound", {slot, copies}, name.c_str(), 1);
}

double rtPlaySound(double slot, double pan, double volume)
{
    int s = toInt(slot);
    auto playing = state.soundEnds.find(s);
    if (playing != state.soundEnds.end() && state.frame < playing->second)
        return record("rtPlaySound", {slot, pan, volume}, {}, -1);
    state.soundEnds[s] = state.frame + state.script.soundFrames;
    return record("rtPlaySound", {slot, pan, volume}, {}, s * 256);
}

double rtLoadSprite(const RtString& file, double slot)
{
    return record("rtLoadSprite", {slot}, file.c_str(), 1);
}
void rtLoadBackground(const RtString& file)
{
    record("rtLoadBackground", {}, file.c_str());
}
void rtLoadFont(const RtString& file, double font)
{
    record("rtLoadFont", {font}, file.c_str());
}
void rtSetFont(double font)
{
    record("rtSetFont", {font});
}
void rtDrawSprite(double slot, double x, double y)
{
    record("rtDrawSprite", {slot, x, y});
}
void rtZoomSprite(double slot, double x, double y, double scaleX, double scaleY)
{
    record("rtZoomSprite", {slot, x, y, scaleX, scaleY});
}
void rtDrawSpriteRotated(double slot, double x, double y, double angle)
{
    record("rtDrawSpriteRotated", {slot, x, y, angle});
}
void rtDrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom)
{
    record("rtDrawSpriteRotatedScaled", {slot, x, y, angle, zoom});
}
void rtPrint(const RtString& text, double x, double y)
{
    record("rtPrint", {x, y}, text.c_str());
}
void rtDrawLine(double x1, double y1, double x2, double y2, double colour)
{
    record("rtDrawLine", {x1, y1, x2, y2, colour});
}
void rtDrawRect(double x1, double y1, double x2, double y2, double colour)
{
    record("rtDrawRect", {x1, y1, x2, y2, colour});
}
void rtClearScreen()
{
    record("rtClearScreen", {});
}
