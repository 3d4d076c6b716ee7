// The files subsystem's share of the process exit: after the end routine, the runtime's global
// state goes in a fixed order - the INI document is written back, the file channels are closed
// from 7 down to 0, the line file is written back, and the libraries game code loaded are released.
// Each part hooks itself in on first use; parts never used have nothing to do.
#pragma once

struct FilesTeardown
{
    void (*writeBackIniDocument)() = nullptr;
    void (*closeFileChannels)() = nullptr;
    void (*writeBackLineFile)() = nullptr;
    void (*releaseLibraries)() = nullptr;
};

// The hooks; the first call arranges for them to run at process exit.
FilesTeardown& filesTeardown();
// Runs the hooks in order (also what process exit does).
void runFilesTeardown();
