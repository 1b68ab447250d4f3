#pragma once
#include <cstdint>

#include "file/mem_file.h"

// A MemFile whose buffer holds lines ending in CR LF. Text is handled byte by byte (Shift-JIS
// trail bytes are never CR or LF), so a column counts bytes. Every text write leaves at least
// one byte of the capacity free, or is refused whole with RC_OUT_OF_RANGE.
class TextFile : public MemFile {
 public:
  TextFile() = default;
  ~TextFile() override = default;

  // The cached line count is recounted once MemFile's change count has moved on, so that
  // GetLineCount is never stale. Bytes changed through GetBuffer or DiskFile's Read are not
  // seen: call CountLines after those.

  // Line ends (CR, the byte after each skipped) before the position.
  virtual void CountLines();
  virtual ResultCode AllocateZeroed(uint32_t capacity);  // keeps the position
  virtual ResultCode SaveText(const char* path);         // the bytes before the position
  virtual ResultCode LoadText(const char* path);
  virtual ResultCode SetPosition(uint32_t offset);
  // The text, then CR LF; when only the line end does not fit, the text stays without it.
  virtual ResultCode WriteLine(const char* text);
  virtual ResultCode WriteString(const char* text);
  virtual ResultCode WriteEmptyLines(int32_t count);
  // Spaces up to the column, or back within the line to it (passed bytes stay until
  // overwritten).
  virtual ResultCode PadToColumn(int32_t column);
  // Copies up to maximum bytes of the line at the position into destination (maximum + 1
  // bytes), NUL-terminated; a CR and the byte after it end the line. Reads up to the
  // capacity, not to the end of the text written. Null without buffer or destination.
  virtual char* ReadLine(char* destination, int32_t maximum);
  // These two give the number RC_NO_BUFFER when there is no buffer.
  virtual int32_t GetLineCount();
  virtual int32_t GetColumn() const;

  ResultCode SaveTextFlushed(const char* path);  // as SaveText, flushed as MemFile's SaveFlushed

 private:
  static constexpr int32_t kUnset = -1;

  bool Fits(uint64_t count) const;
  void StoreLineEnd();
  void ForgetLineCount() { lineCounter_ = kUnset; }

  int32_t lineCounter_ = kUnset;
  uint32_t countedAtChange_ = 0;  // MemFile's change count when lineCounter_ was counted
};
