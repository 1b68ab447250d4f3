#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The command line:
//   transition [--frames N] [--save FOLDER] [--at F,F,...] [--every K] [FROM.bmp TO.bmp]
// --frames ends the show after N frames (without it the show runs until closed); --save writes
// the frames chosen with --at or --every as FOLDER\frame-NNNN.bmp. The pictures default to
// pictures\day.bmp and pictures\night.bmp beside the program.
struct ShowOptions {
  int32_t frames = 0;  // 0: until the window is closed
  std::string saveFolder;
  std::vector<int32_t> at;
  int32_t every = 0;
  std::string pictures[2];

  bool Saves(int32_t frame) const;
  std::string FramePath(int32_t frame) const;
};

// False for a command line it cannot read.
bool ParseShowOptions(int argc, char** argv, const std::string& programFolder, ShowOptions* out);
