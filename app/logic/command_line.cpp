#include "app/logic/command_line.h"

#include <cstring>

#include "app/logic/messages.h"
#include "file/sjis_string.h"

namespace {

// Room for any folder we accept and its switch; a longer one is too long whatever its end.
constexpr size_t kArgumentCapacity = kPathBufferSize + 64;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const char* text, size_t length, const char* lowerName) {
  if (std::strlen(lowerName) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (AsciiLower(text[i]) != lowerName[i]) return false;
  }
  return true;
}

struct Argument {
  char bytes[kArgumentCapacity];
  size_t length;
  bool cutOff;  // longer than the buffer: the rest was dropped
};

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// The program name follows its own rule: up to the closing quote, or up to a blank.
const char* SkipProgramName(const char* p) {
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
    return p;
  }
  while (*p != '\0' && !IsBlank(*p)) ++p;
  return p;
}

// Reads one argument starting at `p` (not blank, not the end); returns where it stopped.
const char* ReadArgument(const char* p, Argument& argument) {
  argument.length = 0;
  argument.cutOff = false;
  bool quoted = false;
  for (; *p != '\0' && (quoted || !IsBlank(*p)); ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (argument.length + 1 < sizeof argument.bytes) {
      argument.bytes[argument.length++] = *p;
    } else {
      argument.cutOff = true;
    }
  }
  argument.bytes[argument.length] = '\0';
  return p;
}

// Copies as much of `text` as fits, never splitting a double-byte character.
void CopyWhole(const char* text, char* buffer, size_t capacity) {
  size_t at = 0;
  while (text[at] != '\0') {
    const size_t step = IsSjisLeadByte(static_cast<unsigned char>(text[at])) && text[at + 1] ? 2 : 1;
    if (at + step + 1 > capacity) break;
    std::memcpy(buffer + at, text + at, step);
    at += step;
  }
  buffer[at] = '\0';
}

int32_t Fail(CommandLine& line, CommandLineError error, const char* argument) {
  line.error = error;
  CopyWhole(argument, line.errorArgument, sizeof line.errorArgument);
  return 0;
}

// The index of `value` among `names`, or -1.
int32_t IndexOf(const char* value, const char* const* names, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    if (EqualsIgnoringCase(value, std::strlen(value), names[i])) return i;
  }
  return -1;
}

// Switches that take no value.
struct Flag {
  const char* name;
  bool CommandLine::*field;
};
constexpr Flag kFlags[] = {
    {"?", &CommandLine::showUsage},
    {"silent", &CommandLine::silent},
    {"overwrite", &CommandLine::overwrite},
};

int32_t TakeSwitch(const Argument& argument, CommandLine& line) {
  static const char* const kTitles[] = {"tarnwick", "oxbellow", "quillane"};
  static const char* const kModes[] = {"standard", "all"};
  const char* text = argument.bytes;
  if (text[0] != '/') return Fail(line, CommandLineError::kUnknownSwitch, text);
  const char* colon = std::strchr(text, ':');
  const size_t nameLength =
      colon != nullptr ? static_cast<size_t>(colon - text - 1) : argument.length - 1;
  const char* name = text + 1;
  const char* value = colon != nullptr ? colon + 1 : nullptr;

  for (const Flag& flag : kFlags) {
    if (!EqualsIgnoringCase(name, nameLength, flag.name)) continue;
    if (value != nullptr) return Fail(line, CommandLineError::kBadValue, text);
    line.*flag.field = true;
    return 1;
  }

  const bool isTitle = EqualsIgnoringCase(name, nameLength, "title");
  const bool isMode = EqualsIgnoringCase(name, nameLength, "mode");
  const bool isFolder = EqualsIgnoringCase(name, nameLength, "folder");
  if (!isTitle && !isMode && !isFolder) return Fail(line, CommandLineError::kUnknownSwitch, text);
  if (value == nullptr || value[0] == '\0') return Fail(line, CommandLineError::kMissingValue, text);

  if (isFolder) {
    const size_t length = std::strlen(value);
    line.folderTooLong = argument.cutOff || length + 1 > sizeof line.folder;
    if (!line.folderTooLong) std::memcpy(line.folder, value, length + 1);
    else line.folder[0] = '\0';
    return 1;
  }
  const int32_t index = isTitle ? IndexOf(value, kTitles, 3) : IndexOf(value, kModes, 2);
  if (index < 0) return Fail(line, CommandLineError::kBadValue, text);
  if (isTitle) {
    line.titleIndex = index;
    line.hasTitle = true;
  } else {
    line.installMode = index;
  }
  return 1;
}

void Append(char* buffer, size_t capacity, size_t& used, const char* text) {
  CopyWhole(text, buffer + used, capacity - used);
  used += std::strlen(buffer + used);
}

}  // namespace

int32_t ParseCommandLine(const char* commandLine, CommandLine& line) {
  line = CommandLine();
  if (commandLine == nullptr) return 1;
  Argument argument;
  const char* p = SkipBlanks(SkipProgramName(SkipBlanks(commandLine)));
  while (*p != '\0') {
    p = SkipBlanks(ReadArgument(p, argument));
    // A later switch may still be /silent, which decides whether anything is shown.
    if (line.error == CommandLineError::kNone) {
      TakeSwitch(argument, line);
    } else {
      CommandLine ignored;
      TakeSwitch(argument, ignored);
      line.silent = line.silent || ignored.silent;
    }
  }
  if (line.error != CommandLineError::kNone) return 0;
  const bool hasFolder = line.folder[0] != '\0' || line.folderTooLong;
  if (line.silent && !line.showUsage && (!line.hasTitle || !hasFolder)) {
    return Fail(line, CommandLineError::kSilentIncomplete, "");
  }
  return 1;
}

namespace {

// What the usage box says first about the fault it was shown for.
const char* FaultMessage(CommandLineError error) {
  switch (error) {
    case CommandLineError::kUnknownSwitch: return kMessageUnknownSwitch;
    case CommandLineError::kMissingValue: return kMessageMissingValue;
    case CommandLineError::kBadValue: return kMessageBadValue;
    case CommandLineError::kSilentIncomplete: return kMessageSilentIncomplete;
    case CommandLineError::kNone: break;
  }
  return "";
}

}  // namespace

void ComposeUsage(const CommandLine& line, char* buffer, size_t capacity) {
  if (capacity == 0) return;
  size_t used = 0;
  buffer[0] = '\0';
  if (line.error != CommandLineError::kNone) {
    Append(buffer, capacity, used, FaultMessage(line.error));
    Append(buffer, capacity, used, line.errorArgument);
    Append(buffer, capacity, used, "\n\n");
  }
  Append(buffer, capacity, used, kMessageUsage);
}
