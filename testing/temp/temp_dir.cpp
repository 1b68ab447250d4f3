#include "temp/temp_dir.h"

#include <chrono>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

// Creating the folder is the test for a name no other process took.
TempDir::TempDir() {
  for (auto n = std::chrono::steady_clock::now().time_since_epoch().count();; ++n) {
    path_ = (fs::temp_directory_path() / ("zv-" + std::to_string(n))).string();
    if (fs::create_directory(path_)) return;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::Path(const std::string& relative) const {
  std::string path = path_ + kSeparator + relative;
  for (size_t i = path_.size(); i < path.size(); ++i) {
    const auto b = static_cast<unsigned char>(path[i]);
    if (b == '/' || b == '\\') path[i] = kSeparator;
    i += (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);  // a trail byte 0x5C is no '\'
  }
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool PathExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}
