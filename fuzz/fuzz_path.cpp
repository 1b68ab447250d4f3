// ValidatePath and CreateFolderChain on arbitrary bytes: quoted or not, at and past the 260-byte
// limit, Shift-JIS lead bytes before 0x5C and 0x7C. Both are checked against a model written
// from the rules, and every folder is really made, under a drive root in a scratch folder that
// nothing may leave.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/logic/path_validation.h"
#include "host/fake_host.h"
#include "fuzz_support.h"
#include "subst/file_hooks.h"

namespace fs = std::filesystem;

namespace {

bool Refused(char c) { return std::strchr("\"*,/:;<>?|", c) != nullptr && c != '\0'; }
bool Letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A drive, colon and backslash after an optional opening quote, then a body (up to the closing
// quote) of at most 259 - q bytes past the drive's colon that holds no refused character and
// no two backslashes in a row. The drive's backslash counts for the doubled ones.
int32_t ModelValid(const std::string& p) {
  const size_t length = p.size();
  const size_t q = length > 0 && p[0] == '"' && p[length - 1] == '"' ? 1 : 0;
  if (length < 3 + 2 * q) return 0;
  if (!Letter(p[q]) || p[q + 1] != ':' || p[q + 2] != '\\') return 0;
  if (length - q > 259) return 0;
  const std::string body = p.substr(q + 2, length - q - (q + 2));
  for (char c : body)
    if (Refused(c)) return 0;
  return body.find("\\\\") == std::string::npos ? 1 : 0;
}

// Every prefix ending before a backslash after the drive's, up to the first quote.
std::vector<std::string> ModelFolders(const std::string& p) {
  std::vector<std::string> folders;
  if (!ModelValid(p)) return folders;
  const size_t q = p[0] == '"' ? 1 : 0;
  const size_t end = p.find('"', q + 3);
  const std::string inside = p.substr(q, (end == std::string::npos ? p.size() : end) - q);
  for (size_t i = 3; i < inside.size(); ++i)
    if (inside[i] == '\\') folders.push_back(inside.substr(0, i));
  return folders;
}

// Shapes that reach deep: the raw bytes, or made into a drive path, quoted or not, padded
// towards the limit.
std::string PathFrom(FuzzedDataProvider& in) {
  const int shape = in.ConsumeIntegralInRange<int>(0, 3);
  const size_t padding = shape >= 2 ? in.ConsumeIntegralInRange<size_t>(0, 262) : 0;
  std::string path = in.ConsumeRemainingBytesAsString();
  path.resize(std::strlen(path.c_str()));
  if (shape == 0) return path;
  std::string prefix = "C:\\";
  for (size_t i = 0; i < padding; ++i) prefix += i % 9 == 8 ? '\\' : static_cast<char>('a' + i % 7);
  path = prefix + path;
  return shape == 3 ? "\"" + path + "\"" : path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string root = ScratchFolder() + "/root";
  static const bool rooted = [] {
    fs::create_directories(root + "/C");
    subst::SetDriveRoot(root.c_str());
    return true;
  }();
  (void)rooted;
  FuzzedDataProvider in(data, size);
  const std::string path = PathFrom(in);

  FUZZ_EXPECT_EQ(ValidatePath(path.c_str()), ModelValid(path), path);
  FakeHost host;
  FUZZ_EXPECT_EQ(CreateFolderChain(host, path.c_str()), ModelValid(path), path);
  std::vector<std::string> made;
  for (const FolderCall& call : host.folders) {
    FUZZ_CHECK(call.security.nLength == sizeof(SECURITY_ATTRIBUTES) &&
                   !call.security.lpSecurityDescriptor && call.security.bInheritHandle,
               "security attributes");
    made.push_back(call.path);
  }
  FUZZ_CHECK(made == ModelFolders(path), path);
  FUZZ_CHECK(ValidatePath(nullptr) == 0 && CreateFolderChain(host, nullptr) == 0, "null path");

  if (!made.empty()) {
    // Nothing outside the drive root, and a clean drive for the next input.
    for (const auto& entry : fs::directory_iterator(ScratchFolder()))
      FUZZ_CHECK(entry.path() == root, "made outside the root: " + entry.path().string());
    for (const auto& entry : fs::directory_iterator(root)) fs::remove_all(entry.path());
    fs::create_directories(root + "/C");
  }
  return 0;
}
