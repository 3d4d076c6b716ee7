// The eight file channels: numbered open files that game code reads and writes one typed value,
// run of bytes or text line at a time, with no buffering between the command and the system.
#pragma once

namespace rt {

constexpr int fileChannelCount = 8;

// The channels' file descriptors, -1 while closed.
extern int fileChannels[fileChannelCount];

// Closes every open channel, from the last to the first.
void closeAllFileChannels();

} // namespace rt
