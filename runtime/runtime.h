// The runtime's commands: everything a game calls. Numbers are doubles (integer arguments truncate
// toward zero), texts are RtString values. A command never throws: soft failures come back as
// results (0, -1, "", "NO_DATA", "NO_FILE"); hard failures end the program through the end routine.
#pragma once

#include "runtime/core/end.h"
#include "runtime/input/keys.h"
#include "runtime/values/arrays.h"
#include "runtime/values/numbers.h"
#include "runtime/values/rt_string.h"
#include "runtime/values/text_arrays.h"

// The commands by area, in the order of the command reference (docs/commands.md).
// clang-format off
#include "runtime/commands/core.h"
#include "runtime/commands/values.h"
#include "runtime/commands/drawing_2d.h"
#include "runtime/commands/input.h"
#include "runtime/commands/sound_and_media.h"
#include "runtime/commands/files.h"
#include "runtime/commands/network.h"
#include "runtime/commands/scene_3d.h"
#include "runtime/commands/path_finding.h"
// clang-format on
