// Start and release of the sound system.
#include "runtime/audio/sound_lifecycle.h"

#include "runtime/audio/sound.h"
#include "runtime/core/engine_state.h"

using namespace rt;

namespace rt {

void createSoundSystem()
{
    engine.soundSystem = new SoundSystem;
    engine.soundSlots = new SoundSlot[soundSlotCount];
}

void startSoundSystem()
{
    engine.soundSystem->setUp(engine.window);
}

void releaseSoundSystem()
{
    SoundSlot* slots = engine.soundSlots;
    engine.soundSlots = nullptr;
    delete[] slots; // array elements are destroyed from the last to the first
    SoundSystem* system = engine.soundSystem;
    engine.soundSystem = nullptr;
    delete system;
}

} // namespace rt
