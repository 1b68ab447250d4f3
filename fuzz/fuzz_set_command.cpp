// The Set command with arbitrary selections (any title index and mode, game folders of any
// bytes, with or without a terminator), arbitrary Windows directories and user names, either
// answer to the question, an old file or none, and now and then a platform call failing.
// Whatever happens, the messages tell the truth: the completion message only with the new
// file in place, any other end with every file on the drive exactly as it was.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "app/logic/set_command.h"
#include "file/text_file.h"
#include "host/fake_host.h"
#include "fuzz_support.h"
#include "subst/fault_hooks.h"
#include "subst/file_hooks.h"

namespace fs = std::filesystem;

namespace {

using subst::Fault;

std::string CString(std::string bytes) {
  bytes.resize(std::strlen(bytes.c_str()));
  return bytes;
}

// Every file under the root with its bytes.
std::map<std::string, std::string> Files(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::FILE* f = std::fopen(entry.path().c_str(), "rb");
    std::string bytes;
    char chunk[512];
    for (size_t n; f && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
    if (f) std::fclose(f);
    files[entry.path().lexically_relative(root).string()] = bytes;
  }
  return files;
}

struct Expected {
  std::string infoPath;  // drive path, as the command builds it
  std::string content;
};

Expected ExpectedFile(const FakeHost& host) {
  const int32_t title = g_selection.titleIndex;
  const char* name = title == 0 ? "tw.ifo" : title == 1 ? "ox.ifo" : "quil.ifo";
  static const char* const kLists[3][2] = {
      {"0 1 ", "0 1 10 "}, {"0 1 2 ", "0 1 2 10 "}, {"0 1 2 ", "0 1 2 10 11 "}};
  const int row = title == 0 ? 0 : title == 1 ? 1 : 2;
  const char* components = kLists[row][g_selection.installMode == 0 ? 0 : 1];
  const std::string& windows = host.windowsDirectory;
  const std::string folder = g_profileFolderFlag == 1
                                 ? windows.substr(0, 3) + "Documents and Settings\\" +
                                       host.userName + "\\Application Data\\Vorn\\"
                                 : windows + "\\";
  return {folder + name, std::string(g_selection.gameFolder) + "\r\n" + components};
}

// What the substitute holds at a drive path, or none.
std::optional<std::string> ReadThrough(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(4096, '\0');
  DWORD moved = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &moved, nullptr);
  CloseHandle(h);
  bytes.resize(moved);
  return bytes;
}

constexpr Fault kFaultKinds[] = {Fault::kAttributes,  Fault::kGlobalAlloc, Fault::kHeapAlloc,
                                 Fault::kOpen,        Fault::kSeek,        Fault::kWrite,
                                 Fault::kClose,       Fault::kMove,        Fault::kDelete,
                                 Fault::kCreateFolder, Fault::kFlush};

// Returns whether an old file stands where the command will write.
bool Arrange(FuzzedDataProvider& in, FakeHost& host, const std::string& root) {
  g_selection.titleIndex =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-1, 3) : in.ConsumeIntegral<int32_t>();
  g_selection.installMode =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(0, 1) : in.ConsumeIntegral<int32_t>();
  g_profileFolderFlag = in.ConsumeIntegralInRange<int32_t>(0, 2) == 0 ? 0 : 1;
  static const char* const kDirectories[] = {"X:\\WINDOWS", "D:\\WINNT", "X:", "X:\\"};
  // GetWindowsDirectoryA names a drive; the rest of the directory is arbitrary bytes.
  host.windowsDirectory = in.ConsumeBool() ? in.PickValueInArray(kDirectories)
                                           : "X:" + CString(in.ConsumeRandomLengthString(300));
  host.userName = in.ConsumeBool() ? "taro" : CString(in.ConsumeRandomLengthString(240));
  host.answer = in.ConsumeIntegralInRange<int>(0, 3) == 0 ? IDNO : IDYES;
  const bool oldFile = in.ConsumeBool();

  // The game folder: bytes of the input, a terminator only where they bring one, now and then
  // none at all.
  std::memset(g_selection.gameFolder, 0, sizeof g_selection.gameFolder);
  const std::string folder = in.ConsumeRandomLengthString(sizeof g_selection.gameFolder);
  std::memcpy(g_selection.gameFolder, folder.data(), folder.size());
  if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
    std::memset(g_selection.gameFolder, 'g', sizeof g_selection.gameFolder);

  fs::create_directories(root + "/X/WINDOWS");
  fs::create_directories(root + "/D/WINNT");
  bool oldFileWritten = false;
  if (oldFile && std::memchr(g_selection.gameFolder, '\0', sizeof g_selection.gameFolder)) {
    // Where the command will look, when that is a place the drive can hold.
    const std::string path = ExpectedFile(host).infoPath;
    CreateDirectoryA((path.substr(0, 3) + "Documents and Settings").c_str(), nullptr);
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
      CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD moved = 0;
      oldFileWritten = WriteFile(h, "old\r\n0 ", 7, &moved, nullptr);
      CloseHandle(h);
    }
  }
  if (in.ConsumeIntegralInRange<int>(0, 2) == 0) {
    const Fault kind = in.PickValueInArray(kFaultKinds);
    const auto nth = in.ConsumeIntegralInRange<int32_t>(1, 12);
    if (in.ConsumeBool())
      subst::FailCallsFrom(kind, nth);
    else
      subst::FailCall(kind, nth);
  }
  return oldFileWritten;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string root = ScratchFolder() + "/root";
  fs::remove_all(root);
  fs::create_directories(root);
  subst::SetDriveRoot(root.c_str());

  FuzzedDataProvider in(data, size);
  FakeHost host;
  subst::ClearFaults();
  const bool oldFile = Arrange(in, host, root);
  const auto before = Files(root);
  const bool terminated =
      std::memchr(g_selection.gameFolder, '\0', sizeof g_selection.gameFolder) != nullptr;

  RunSetCommand(host, kDialog);
  const bool deleteFailed = subst::CallsOf(Fault::kDelete) > 0;
  subst::ClearFaults();

  FUZZ_EXPECT_EQ(subst::OpenFileHandles(), 0, "handles left open");
  FUZZ_CHECK(g_textFile.GetBuffer() == nullptr, "text buffer left");
  for (const auto& entry : fs::directory_iterator(ScratchFolder()))
    FUZZ_CHECK(entry.path() == root, "made outside the root: " + entry.path().string());

  std::vector<std::string> shown;
  for (const MessageBoxCall& call : host.messages) {
    FUZZ_CHECK(call.owner == kDialog, "message box owner");
    shown.push_back(call.text);
  }
  FUZZ_CHECK(!shown.empty() && shown.size() <= 2, "messages");
  const bool asked = shown.front() == kMessageAskOverwrite;
  FUZZ_CHECK(shown.size() == 1 || asked, "a second message only after the question");
  FUZZ_CHECK(!asked || host.answer == IDYES || shown.size() == 1, "went on after a No");
  const std::string& last = shown.back();
  auto after = Files(root);
  if (last == kMessageSetDone) {
    FUZZ_CHECK(terminated && g_selection.gameFolder[0] != '\0', "done without a game folder");
    const Expected expected = ExpectedFile(host);
    FUZZ_CHECK(ReadThrough(expected.infoPath) == expected.content,
               "done, but the file is not the new one: " + expected.infoPath);
    FUZZ_CHECK(!oldFile || asked, "the old file replaced without asking");
    // Besides that file, nothing changed but what the old file was replaced with.
    for (const auto& [name, bytes] : before) {
      const auto it = after.find(name);
      FUZZ_CHECK(it != after.end() && (it->second == bytes || it->second == expected.content),
                 "a file changed or went: " + name);
    }
    FUZZ_CHECK(after.size() <= before.size() + 1, "files left over");
    return 0;
  }
  // Any other end: every file exactly as before, a temporary file aside that could not be
  // removed.
  FUZZ_CHECK(last == kMessageWriteFailed || last == kMessageNoGameFolder ||
                 (asked && shown.size() == 1 && host.answer != IDYES),
             "an end without its message: " + last);
  if (last == kMessageNoGameFolder) FUZZ_CHECK(g_selection.gameFolder[0] == '\0', last);
  for (const auto& [name, bytes] : before) {
    const auto it = after.find(name);
    FUZZ_CHECK(it != after.end() && it->second == bytes, "a file changed or went: " + name);
    after.erase(it);
  }
  for (const auto& [name, bytes] : after) {
    FUZZ_CHECK(deleteFailed && name.size() > 4 && name.substr(name.size() - 4) == ".tmp",
               "a file appeared: " + name);
  }
  return 0;
}
