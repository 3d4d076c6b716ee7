// The sound system's share of start-up and of the end routine.
#pragma once

namespace rt {

// The mixer record and the 256 sound slots, nothing opened yet.
void createSoundSystem();
// Opens the audio device for the main window (no device: every load fails later).
void startSoundSystem();
// The slots from the last to the first, then the mixer.
void releaseSoundSystem();

} // namespace rt
