// The command line as any bytes: parsed, its usage composed, and, when it asks for the
// unattended run, run against a drive in the scratch folder. Every run ends in one of the five
// exit codes without showing anything or leaving a handle open, and one that did not write
// leaves the drive exactly as it was.
#include "app/logic/command_line.h"
#include "app/logic/silent_run.h"
#include "fuzz_support.h"
#include "host/fake_host.h"
#include "subst/file_hooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string root = ScratchFolder() + "/root";
  std::filesystem::remove_all(root);
  // X:\WINDOWS, and a folder for /folder: to name: X:\ゲーム\表 in Shift-JIS.
  for (const char* folder : {"/X/WINDOWS", "/X/\x83\x51\x81\x5b\x83\x80/\x95\x5c"})
    std::filesystem::create_directories(root + folder);
  subst::SetDriveRoot(root.c_str());

  const std::string commandLine(reinterpret_cast<const char*>(data), size);
  CommandLine line;
  const int32_t valid = ParseCommandLine(commandLine.c_str(), line);
  char usage[4096];
  ComposeUsage(line, usage, sizeof usage);
  FUZZ_CHECK(valid == (line.error == CommandLineError::kNone) && std::strlen(usage) < sizeof usage &&
                 std::memchr(line.folder, '\0', sizeof line.folder), "parse or usage");
  if (!valid || !line.silent || line.showUsage) return 0;

  FakeHost host;
  // Odd lengths run as Windows XP, with its profile folders; even ones as Windows 98.
  host.version = size % 2 != 0 ? OsVersion{2, 5, 1} : OsVersion{1, 4, 10};
  const auto before = TreeUnder(root);
  const ExitCode code = RunSilently(host, line);
  FUZZ_CHECK(code >= kExitDone && code <= kExitWriteFailed && host.shown.empty() && !subst::OpenFileHandles(),
             std::to_string(code));
  FUZZ_CHECK(code == kExitDone || TreeUnder(root) == before, "a failed run left something behind");
  return 0;
}
