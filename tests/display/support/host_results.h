// Running a display-test host under a fresh X server and collecting the "name value" lines it writes
// to results.txt in its temp folder.
#pragma once

#include <map>
#include <string>

// Runs `host --scenario=<scenario>` on a 320 × 240 screen, waiting at most two minutes; the host's
// results by name (a missing "done 1" line fails the calling test). The error log goes to errorLog.
std::map<std::string, double> runHostScenario(const std::string& host, const std::string& scenario,
                                              std::string* errorLog = nullptr);
