#include "file/text_file.h"

#include <cstring>

#include "platform/win32.h"

namespace {

constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;

}  // namespace

void TextFile::CountLines() {
  if (!buffer_) return;
  lineCounter_ = 0;
  countedAtChange_ = ChangeCount();
  for (uint32_t i = 0; i < position_; ++i) {
    if (buffer_[i] == kCr) {
      ++lineCounter_;
      ++i;  // the LF
    }
  }
}

ResultCode TextFile::AllocateZeroed(uint32_t capacity) {
  MemFile::Allocate(capacity);
  ForgetLineCount();
  return MemFile::Fill(0);
}

ResultCode TextFile::SaveText(const char* path) { return MemFile::Save(path, position_); }

ResultCode TextFile::SaveTextFlushed(const char* path) { return SaveFlushed(path, position_); }

ResultCode TextFile::LoadText(const char* path) {
  ForgetLineCount();
  return MemFile::Load(path, 0);
}

ResultCode TextFile::SetPosition(uint32_t offset) {
  ForgetLineCount();
  return MemFile::Seek(static_cast<int32_t>(offset));
}

bool TextFile::Fits(uint64_t count) const { return position_ + count < capacity_; }

void TextFile::StoreLineEnd() {
  buffer_[position_++] = kCr;
  buffer_[position_++] = kLf;
}

ResultCode TextFile::WriteLine(const char* text) {
  if (ResultCode rc = WriteString(text)) return rc;
  if (!Fits(2)) return RC_OUT_OF_RANGE;
  StoreLineEnd();
  return RC_OK;
}

ResultCode TextFile::WriteString(const char* text) {
  if (!buffer_) return RC_NO_BUFFER;
  if (!text) return RC_NULL_ARGUMENT;
  auto length = static_cast<uint32_t>(lstrlenA(text));
  if (!Fits(length)) return RC_OUT_OF_RANGE;
  std::memcpy(buffer_ + position_, text, length);
  position_ += length;
  ForgetLineCount();
  return RC_OK;
}

ResultCode TextFile::WriteEmptyLines(int32_t count) {
  if (!buffer_) return RC_NO_BUFFER;
  if (count < 0) count = 0;  // nothing to write, checked like an empty write
  if (!Fits(2 * static_cast<uint64_t>(count))) return RC_OUT_OF_RANGE;
  for (int32_t i = 0; i < count; ++i) StoreLineEnd();
  if (count > 0) ForgetLineCount();
  return RC_OK;
}

ResultCode TextFile::PadToColumn(int32_t column) {
  if (!buffer_) return RC_NO_BUFFER;
  if (column < 0) return RC_OUT_OF_RANGE;
  int64_t shift = static_cast<int64_t>(column) - GetColumn();
  if (shift == 0) return RC_OK;
  if (shift > 0) {
    if (!Fits(static_cast<uint64_t>(shift))) return RC_OUT_OF_RANGE;
    std::memset(buffer_ + position_, ' ', static_cast<size_t>(shift));
  }
  position_ = static_cast<uint32_t>(position_ + shift);
  ForgetLineCount();
  return RC_OK;
}

char* TextFile::ReadLine(char* destination, int32_t maximum) {
  if (!buffer_ || !destination) return nullptr;
  int32_t length = 0;
  uint32_t start = position_;
  while (length < maximum && position_ < capacity_) {
    uint8_t byte = buffer_[position_];
    if (byte == kCr) {
      position_ = capacity_ - position_ < 2 ? capacity_ : position_ + 2;
      break;
    }
    destination[length++] = static_cast<char>(byte);
    ++position_;
  }
  destination[length] = '\0';
  if (position_ != start) ForgetLineCount();
  return destination;
}

int32_t TextFile::GetLineCount() {
  if (!buffer_) return RC_NO_BUFFER;
  if (lineCounter_ == kUnset || countedAtChange_ != ChangeCount()) CountLines();
  return lineCounter_;
}

int32_t TextFile::GetColumn() const {
  if (!buffer_) return RC_NO_BUFFER;
  for (uint32_t i = position_; i > 0; --i)
    if (buffer_[i - 1] == kLf) return static_cast<int32_t>(position_ - i);
  return static_cast<int32_t>(position_);
}
