#include "show_options.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool ParseCount(const char* text, int32_t* out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > INT32_MAX) return false;
  *out = static_cast<int32_t>(value);
  return true;
}

bool ParseList(const std::string& text, std::vector<int32_t>* out) {
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    int32_t frame = 0;
    if (!ParseCount(text.substr(start, comma - start).c_str(), &frame)) return false;
    out->push_back(frame);
    start = comma + 1;
  }
  return true;
}

}  // namespace

bool ShowOptions::Saves(int32_t frame) const {
  if (saveFolder.empty()) return false;
  return (every > 0 && frame % every == 0) || std::find(at.begin(), at.end(), frame) != at.end();
}

std::string ShowOptions::FramePath(int32_t frame) const {
  char name[32];
  std::snprintf(name, sizeof name, "\\frame-%04d.bmp", static_cast<int>(frame));
  return saveFolder + name;
}

bool ParseShowOptions(int argc, char** argv, const std::string& programFolder, ShowOptions* out) {
  std::vector<std::string> pictures;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--frames" && hasValue) {
      if (!ParseCount(argv[++i], &out->frames)) return false;
    } else if (arg == "--every" && hasValue) {
      if (!ParseCount(argv[++i], &out->every)) return false;
    } else if (arg == "--at" && hasValue) {
      if (!ParseList(argv[++i], &out->at)) return false;
    } else if (arg == "--save" && hasValue) {
      out->saveFolder = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return false;
    } else {
      pictures.push_back(arg);
    }
  }
  if (pictures.empty()) {
    pictures = {programFolder + "pictures\\day.bmp", programFolder + "pictures\\night.bmp"};
  }
  if (pictures.size() != 2) return false;
  out->pictures[0] = pictures[0];
  out->pictures[1] = pictures[1];
  return true;
}
