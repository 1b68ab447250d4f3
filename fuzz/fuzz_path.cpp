// ValidatePath and CreateFolderChain on any bytes, often a drive path padded towards the length
// limit, quoted or not: an accepted path holds no refused byte and no doubled backslash, and the
// chain agrees with the check and makes only folders along the path, shortest first, never the
// drive's root.
#include "app/logic/path_validation.h"
#include "fuzz_support.h"
#include "host/fake_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int shape = in.ConsumeIntegralInRange<int>(0, 2);  // as given, a drive path, quoted
  std::string path = shape ? "C:\\" + std::string(in.ConsumeIntegralInRange<size_t>(0, 258), 'a') : "";
  path = (path + in.ConsumeRemainingBytesAsString()).c_str();
  if (shape == 2) path = "\"" + path + "\"";

  const int32_t valid = ValidatePath(path.c_str());
  FakeHost host;  // no drive root: nothing reaches the disk
  FUZZ_EXPECT_EQ(CreateFolderChain(host, path.c_str()), valid, path);
  const std::string bare = valid && path[0] == '"' ? path.substr(1, path.size() - 2) : path;
  FUZZ_CHECK(!valid || (!std::strpbrk(bare.c_str() + 2, "\"*,/:;<>?|") && !std::strstr(bare.c_str(), "\\\\")),
             path);
  size_t previous = 3;
  for (const std::string& folder : host.folders) {
    FUZZ_CHECK(valid && folder.size() > previous && bare.compare(0, folder.size(), folder) == 0 &&
                   bare[folder.size()] == '\\', path);
    previous = folder.size();
  }
  return 0;
}
