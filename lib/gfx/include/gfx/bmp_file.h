#pragma once
#include "gfx/bmp_codec.h"

// BMP files on disk, through DiskFile: only the headers and the rows are read, so a picture
// costs its pixels in memory and no more. Besides the codec's codes, the file classes' own
// (RC_OPEN_FAILED, RC_IO_FAILED) and RC_NO_MEMORY.
ResultCode ReadBmpInfo(const char* path, BmpInfo* info);
// The surface must already have the picture's width and height (ReadBmpInfo tells them).
ResultCode LoadBmp(const char* path, Surface* surface);
ResultCode SaveBmp(const char* path, Surface* surface, int32_t bitsPerPixel, BmpRows rows);
