#pragma once
// Running the tool from its command line: the values it preselects, and the unattended run.
#include <cstdint>

#include "app/logic/app_state.h"

class SystemHost;
struct CommandLine;

// The process's exit code.
enum ExitCode : int {
  kExitDone = 0,
  kExitBadCommandLine = 1,
  kExitBadFolder = 2,      // the folder does not exist, or its path is too long
  kExitFileExists = 3,     // the information file exists and /overwrite was not given
  kExitWriteFailed = 4,
};

// Fills `selection` with the command line's title, mode and folder, the folder stored as the
// folder browser would store it. 1, or 0 when the given folder does not exist or is too long.
int32_t SelectionFromCommandLine(SystemHost& host, const CommandLine& line, Selection& selection);

// Writes the information file as the Set command does, without showing anything, and tells by
// the exit code what happened. A failed run leaves no file and no folder of its own behind.
// `line` is a parsed, valid /silent command line.
ExitCode RunSilently(SystemHost& host, const CommandLine& line);
