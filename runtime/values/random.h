// The random generator: ISAAC, the 32-bit generator with a 256-word memory, three accumulators and a
// result array of 256 words that each generation pass refills.
#pragma once

#include <cstdint>

namespace rt {

struct IsaacGenerator
{
    uint32_t memory[256];
    uint32_t results[256];
    uint32_t a, b, c;   // accumulator, previous result, counter
    uint32_t remaining; // results not yet handed out

    // One generation pass: 256 new results.
    void generate();
    // The standard initialisation from the result array as it stands (the seed words), ending with one
    // generation pass.
    void initialise();
    // The runtime's seeding from one 32-bit number (the clock at start-up).
    void seed(uint32_t s);
};

// The generator behind rtRandom.
IsaacGenerator& randomGenerator();

} // namespace rt
