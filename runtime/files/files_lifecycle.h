// The files subsystem's share of start-up and of the end routine: the two archive resolvers, and the
// ordered release of what game code left open - the INI document is written back, the file channels
// are closed from 7 down to 0, the line file is written back, and the libraries game code loaded are
// released. Each of those parts hooks itself in on first use; parts never used have nothing to do.
// The hooks run in the end routine, or when the process exits if the engine never started.
#pragma once

namespace rt {

struct FilesTeardown
{
    void (*writeBackIniDocument)() = nullptr;
    void (*closeFileChannels)() = nullptr;
    void (*writeBackLineFile)() = nullptr;
    void (*releaseLibraries)() = nullptr;
};

// The hooks the parts set.
FilesTeardown& filesTeardown();

// The data and the media resolver, both enabled with empty paths.
void createArchiveResolvers();
// The media resolver, then the data resolver: each deletes its pending temporary file.
void releaseArchiveResolvers();
// Runs the hooks in order; each runs at most once, so an end re-entered from one of them still
// writes back the others.
void releaseFiles();

} // namespace rt
