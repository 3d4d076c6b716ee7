// One error log line for each data file a game asked for and did not get, so that an empty screen or a
// silent sound has an explanation: the name, why it failed, where the resolver looked, and the
// working folder the name was taken against.
#pragma once

namespace rt {

enum class LoadFailure
{
    NotFound,    // neither on disk nor in the appended archive
    Undecodable, // found, but its contents are not a file of the expected kind
};

// Logs the failed load of `name` (kind says what it was to be: "sprite", "sound", ...). Each name is
// logged once per run, so a game that retries every frame writes one line; an empty name (which the
// commands take as "none") is never logged.
void logLoadFailure(const char* kind, const char* name, LoadFailure failure);

} // namespace rt
