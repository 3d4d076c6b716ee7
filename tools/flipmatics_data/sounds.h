// Sounds: 16-bit mono PCM at 22050 Hz, synthesised and written as WAV files.
#pragma once

#include <filesystem>
#include <vector>

namespace flipdata {

// Writes samples in -1..1 (clipped outside) as a WAV file; ends the program if it cannot.
void writeWav(const std::vector<double>& samples, const std::filesystem::path& path);

// A short, dry tick: a high partial and a little hashed noise, gone in 35 ms.
std::vector<double> clickSound();
// A low buzz that slides down from 180 Hz to 90 Hz.
std::vector<double> failSound();
// Two bright bell notes a fifth apart.
std::vector<double> okSound();
// A short fanfare: a rising arpeggio and a held major chord.
std::vector<double> winSound();

} // namespace flipdata
