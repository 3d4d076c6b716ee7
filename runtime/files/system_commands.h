// Host system queries, file dialogs, starting other programs and the debugger mark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 32-bit machine code that "ID" shows before its mask: a hash of the system's machine
// identifier, or a fixed default when the system has none.
uint32_t machineSerial();
// The dialog program's arguments for a filter of "description|pattern|..." pairs, in the current
// folder: zenity's when the program is zenity, kdialog's otherwise.
std::vector<std::string> fileDialogArguments(const std::string& program, bool open, const std::string& filter,
                                             const std::string& folder);
