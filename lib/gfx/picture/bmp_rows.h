#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "picture/bmp_header.h"

class Surface;

// The pixel rows of a checked layout, to and from a surface of the picture's size. rows points
// at the first stored row (the file's bytes from the layout's pixel offset on).
ResultCode CheckBmpTarget(const BmpInfo& info, Surface* surface);
ResultCode CopyBmpRowsIn(const BmpLayout& layout, const uint8_t* rows, Surface* surface);
ResultCode CopyBmpRowsOut(const BmpLayout& layout, Surface* surface, uint8_t* rows);
