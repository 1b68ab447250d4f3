#pragma once
// The tool's command line: switches with '/', names case-insensitive, values after a colon.
//
//   ZorvelSetup.exe [/title:<name>] [/folder:<folder>] [/mode:standard|all] [/silent [/overwrite]]
//   ZorvelSetup.exe /?
#include <cstddef>
#include <cstdint>

#include "app/logic/app_state.h"

enum class CommandLineError {
  kNone,
  kUnknownSwitch,     // not one of ours, or no switch at all
  kMissingValue,      // a switch that takes a value came without one
  kBadValue,          // a value that is not allowed, or one given to a switch that takes none
  kSilentIncomplete,  // /silent without /title or /folder
};

inline constexpr size_t kArgumentExcerptSize = 64;

struct CommandLine {
  bool showUsage = false;
  bool silent = false;
  bool overwrite = false;
  bool hasTitle = false;
  int32_t titleIndex = 0;
  int32_t installMode = 0;
  char folder[kPathBufferSize] = {};  // as given; empty when not given
  bool folderTooLong = false;         // given, but longer than any path can be

  CommandLineError error = CommandLineError::kNone;
  char errorArgument[kArgumentExcerptSize] = {};  // the argument at fault, maybe shortened
};

// Parses a command line as the system hands it over, program name first. A double quote
// starts or ends a quoted stretch and is dropped; every other byte, backslashes included, is
// taken as it stands, so a Shift-JIS trail byte 0x5C before a quote needs no care. Returns 1,
// or 0 with `error` and `errorArgument` naming the first fault.
int32_t ParseCommandLine(const char* commandLine, CommandLine& line);

// The usage text, led by what was wrong with `line` when anything was. Always terminated;
// shortened to fit.
void ComposeUsage(const CommandLine& line, char* buffer, size_t capacity);
