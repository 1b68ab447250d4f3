#pragma once
#include <filesystem>
#include <string>

// A fresh, empty folder for one test, removed with everything in it when the object goes.
// Paths use the platform's separator: '\' under Windows, '/' natively.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() joined with a relative name such as "a.txt" or "sub\\b.txt" (either separator).
  std::string Path(const std::string& relative) const;

  static constexpr char kSeparator = std::filesystem::path::preferred_separator;

 private:
  std::string path_;
};

// Whole-file helpers for checking what the code under test wrote, independent of it.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
