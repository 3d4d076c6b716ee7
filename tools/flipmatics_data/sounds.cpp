#include "sounds.h"

#include "noise.h"
#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace flipdata {
namespace {

constexpr int rate = 22050;

// A bell-like tone: a few partials with an exponential decay and a 2 ms attack.
void addTone(std::vector<double>& out, double start, double length, double freq, double level, double decay)
{
    size_t first = size_t(start * rate), count = size_t(length * rate);
    if (out.size() < first + count) out.resize(first + count, 0.0);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / rate;
        double env = std::min(1.0, t / 0.002) * std::exp(-t * decay) * std::min(1.0, (length - t) / 0.01);
        double v = std::sin(2 * pi * freq * t) + 0.35 * std::sin(2 * pi * 2 * freq * t) +
                   0.12 * std::sin(2 * pi * 3.01 * freq * t);
        out[first + i] += level * env * v;
    }
}

} // namespace

void writeWav(const std::vector<double>& samples, const std::filesystem::path& path)
{
    std::vector<uint8_t> file;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.push_back(uint8_t(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { file.insert(file.end(), t, t + 4); };
    uint32_t dataSize = uint32_t(samples.size() * 2);
    tag("RIFF");
    put(36 + dataSize, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(rate, 4);
    put(rate * 2, 4); // bytes per second
    put(2, 2);        // block align
    put(16, 2);
    tag("data");
    put(dataSize, 4);
    for (double s : samples)
        put(uint16_t(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32000))), 2);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

std::vector<double> clickSound()
{
    std::vector<double> out(size_t(0.035 * rate));
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / rate;
        double noise = hashNoise(int(i), 7) * 2 - 1;
        out[i] = std::exp(-t * 180) * (0.6 * std::sin(2 * pi * 1900 * t) + 0.35 * noise);
    }
    return out;
}

std::vector<double> failSound()
{
    std::vector<double> out(size_t(0.42 * rate));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / rate, length = 0.42;
        double freq = 180 * std::pow(0.5, t / length);
        phase += freq / rate;
        double saw = 2 * (phase - std::floor(phase)) - 1;
        double square = phase - std::floor(phase) < 0.5 ? 1 : -1;
        double env = std::min(1.0, t / 0.01) * std::min(1.0, (length - t) / 0.08);
        out[i] = 0.5 * env * (0.6 * saw - 0.4 * square);
    }
    // A gentle one-pole low pass takes the edge off the buzz.
    double y = 0;
    for (double& s : out)
        s = y = y + 0.35 * (s - y);
    return out;
}

std::vector<double> okSound()
{
    std::vector<double> out;
    addTone(out, 0.0, 0.35, 1318.5, 0.32, 9);  // E6
    addTone(out, 0.09, 0.45, 1975.5, 0.28, 8); // B6
    return out;
}

std::vector<double> winSound()
{
    std::vector<double> out;
    const double notes[] = {523.25, 659.25, 783.99}; // C5 E5 G5
    for (int k = 0; k < 3; ++k)
        addTone(out, 0.13 * k, 0.22, notes[k], 0.3, 6);
    for (double f : {523.25, 659.25, 783.99, 1046.5})
        addTone(out, 0.42, 0.9, f, 0.14, 3.2);
    return out;
}

} // namespace flipdata
