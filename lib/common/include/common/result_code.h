#pragma once
#include <cstdint>

// Every library operation reports one of these; 0 is success. Nothing in the system throws.
using ResultCode = int32_t;

inline constexpr ResultCode RC_OK = 0;
inline constexpr ResultCode RC_FAILED = 1;
inline constexpr ResultCode RC_BAD_LENGTH = 2;
inline constexpr ResultCode RC_NULL_ARGUMENT = 3;
inline constexpr ResultCode RC_NO_MEMORY = 4;
inline constexpr ResultCode RC_LOCK_UNSUPPORTED = 7;
inline constexpr ResultCode RC_FILE_NOT_OPEN = 12;
inline constexpr ResultCode RC_OPEN_FAILED = 13;
inline constexpr ResultCode RC_IO_FAILED = 14;
inline constexpr ResultCode RC_NO_BUFFER = 15;
inline constexpr ResultCode RC_OUT_OF_RANGE = 16;
inline constexpr ResultCode RC_NO_SURFACE = 19;
inline constexpr ResultCode RC_BAD_FORMAT = 20;
inline constexpr ResultCode RC_GET_DC_FAILED = 21;
inline constexpr ResultCode RC_NO_DC = 23;
inline constexpr ResultCode RC_DIB_FAILED = 24;
inline constexpr ResultCode RC_NOT_FOUND = 25;
inline constexpr ResultCode RC_NO_PIXELS = 26;
inline constexpr ResultCode RC_EMPTY_RECT = 28;
inline constexpr ResultCode RC_CLIP_EMPTY = 29;

// Pictures read from BMP files (gfx/bmp_codec.h). Checked before any pixel is touched, so a
// surface given to a failed read keeps its pixels.
inline constexpr ResultCode RC_NOT_BMP = 30;          // no "BM" magic, or headers that contradict
                                                      // each other (pixels inside the headers)
inline constexpr ResultCode RC_BMP_UNSUPPORTED = 31;  // a BMP, but not 24 or 32 bits uncompressed
inline constexpr ResultCode RC_TRUNCATED = 32;        // the file ends before its headers or rows
inline constexpr ResultCode RC_BAD_DIMENSIONS = 33;   // width or height zero or negative, or too
                                                      // large for a surface's 32-bit byte count
inline constexpr ResultCode RC_SIZE_MISMATCH = 34;    // the surface is not the picture's size
