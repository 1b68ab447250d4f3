// The command line as any bytes: parsed, its usage composed, and, when it asks for the
// unattended run, run against a drive inside the scratch folder. Every run ends in one of the
// five exit codes without a message, a handle left open or a write outside the drive, and a
// run that did not write leaves the drive exactly as it was.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "app/logic/app_state.h"
#include "app/logic/command_line.h"
#include "app/logic/silent_run.h"
#include "host/fake_host.h"
#include "fuzz_support.h"
#include "subst/file_hooks.h"

namespace fs = std::filesystem;

namespace {

// Every entry under the root: files with their bytes, folders as "/".
std::map<std::string, std::string> Tree(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::ifstream file(entry.path(), std::ios::binary);
    tree[entry.path().lexically_relative(root).string()] =
        entry.is_regular_file() ? std::string(std::istreambuf_iterator<char>(file), {}) : "/";
  }
  return tree;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string root = ScratchFolder() + "/root";
  fs::remove_all(root);
  fs::create_directories(root + "/X/WINDOWS");
  fs::create_directories(root + "/X/Games");
  fs::create_directories(root + "/X/\x83\x51\x81\x5b\x83\x80/\x95\x5c");  // ゲーム\表 in Shift-JIS
  subst::SetDriveRoot(root.c_str());

  const std::string commandLine(reinterpret_cast<const char*>(data), size);
  CommandLine line;
  const int32_t valid = ParseCommandLine(commandLine.c_str(), line);
  FUZZ_CHECK(valid == (line.error == CommandLineError::kNone ? 1 : 0), "result and error differ");
  FUZZ_CHECK(std::memchr(line.folder, '\0', sizeof line.folder), "folder unterminated");
  char usage[4096];
  ComposeUsage(line, usage, sizeof usage);
  FUZZ_CHECK(std::strlen(usage) < sizeof usage, "usage overran");
  if (!valid || !line.silent || line.showUsage) return 0;

  FakeHost host;
  host.windowsDirectory = "X:\\WINDOWS";
  // Odd lengths run as Windows XP, with its profile folders; even ones as Windows 98.
  host.version = size % 2 != 0 ? OsVersion{2, 5, 1} : OsVersion{1, 4, 10};
  const auto before = Tree(root);
  const ExitCode code = RunSilently(host, line);

  FUZZ_CHECK(code >= kExitDone && code <= kExitWriteFailed, std::to_string(code));
  FUZZ_CHECK(host.messages.empty(), "a message was shown: " + host.messages[0].text);
  FUZZ_EXPECT_EQ(subst::OpenFileHandles(), 0, "handles left open");
  for (const auto& entry : fs::directory_iterator(ScratchFolder()))
    FUZZ_CHECK(entry.path() == root, "made outside the drive: " + entry.path().string());
  if (code != kExitDone) FUZZ_CHECK(Tree(root) == before, "a failed run left something behind");
  if (code == kExitBadFolder) FUZZ_CHECK(line.folderTooLong || line.folder[0] != '\0', "no folder");
  return 0;
}
