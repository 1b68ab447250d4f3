#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::string* scratch = nullptr;

void RemoveScratch() {
  std::error_code ignored;
  if (scratch) std::filesystem::remove_all(*scratch, ignored);
}

}  // namespace

const std::string& ScratchFolder() {
  if (!scratch) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zv-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    scratch = new std::string(pattern);
    std::atexit(RemoveScratch);
    // A relative path can then only land in the scratch folder, where the targets look for
    // strays, never in the folder the fuzzer was started from.
    if (chdir(scratch->c_str()) != 0) std::abort();
  }
  return *scratch;
}

void Finding(const char* file, int line, const std::string& what) {
  std::fprintf(stderr, "\n*** finding at %s:%d\n    %s\n", file, line, what.c_str());
  RemoveScratch();
  std::abort();
}
