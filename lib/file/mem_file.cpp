#include "file/mem_file.h"

#include <cstdint>
#include <cstring>

#include "platform/heap.h"

namespace {

// The one place the buffer's memory comes from and goes back to.
uint8_t* NewBuffer(uint32_t capacity) {
  return static_cast<uint8_t*>(AllocateHeapBlock(capacity));
}

void DeleteBuffer(uint8_t* buffer) { FreeHeapBlock(buffer); }

}  // namespace

MemFile::~MemFile() { MemFile::Free(); }

ResultCode MemFile::Seek(int32_t offset) {
  NoteChange();
  if (!buffer_) return RC_NO_BUFFER;
  if (static_cast<uint32_t>(offset) < capacity_) {
    position_ = static_cast<uint32_t>(offset);
    return RC_OK;
  }
  position_ = capacity_;
  return RC_OUT_OF_RANGE;
}

ResultCode MemFile::SeekEnd() {
  NoteChange();
  if (!buffer_) return RC_NO_BUFFER;
  position_ = capacity_ - 1;
  return RC_OK;
}

ResultCode MemFile::Allocate(uint32_t capacity) {
  NoteChange();
  if (capacity == capacity_) return RC_OK;
  Free();
  if (capacity != 0) {
    buffer_ = NewBuffer(capacity);
    capacity_ = buffer_ ? capacity : 0;
  }
  return RC_OK;
}

ResultCode MemFile::Free() {
  NoteChange();
  if (buffer_) {
    DeleteBuffer(buffer_);
    buffer_ = nullptr;
    position_ = 0;
    capacity_ = 0;
  }
  return RC_OK;
}

ResultCode MemFile::Fill(int32_t value) {
  NoteChange();
  if (!buffer_) return RC_NO_BUFFER;
  std::memset(buffer_, value & 0xFF, capacity_);
  return RC_OK;
}

ResultCode MemFile::Save(const char* path, uint32_t length) {
  return SaveBuffer(path, length, false);
}

ResultCode MemFile::SaveFlushed(const char* path, uint32_t length) {
  return SaveBuffer(path, length, true);
}

ResultCode MemFile::SaveBuffer(const char* path, uint32_t length, bool flush) {
  if (!buffer_) return RC_NO_BUFFER;
  // A longer write would read past the buffer; refused before any file is touched.
  if (length > capacity_) return RC_OUT_OF_RANGE;
  if (ResultCode rc = CreateWrite(path)) return rc;
  DiskFile::Seek(0);
  ResultCode written = Write(buffer_, length != 0 ? length : position_);
  if (written == RC_OK && flush) written = Flush();
  ResultCode closed = Close();
  return written != RC_OK ? written : closed;
}

ResultCode MemFile::Load(const char* path, uint32_t length) {
  NoteChange();
  if (ResultCode rc = OpenRead(path)) return rc;
  uint32_t count = length != 0 ? length : GetSize();
  // A size the platform could not tell must not become a 4 GiB buffer.
  if (length == 0 && count == INVALID_FILE_SIZE) {
    Close();
    return RC_IO_FAILED;
  }
  Allocate(count);
  DiskFile::Seek(0);
  ResultCode read = Read(buffer_, count);
  Close();
  return read;
}

uint32_t MemFile::GetPosition() const { return position_; }

ResultCode MemFile::Move(int32_t delta) {
  NoteChange();
  if (!buffer_) return RC_NO_BUFFER;
  int64_t target = static_cast<int64_t>(position_) + delta;
  if (delta > 0 && target >= capacity_) {
    position_ = capacity_;
    return RC_OUT_OF_RANGE;
  }
  if (target < 0) {
    position_ = 0;
    return RC_OUT_OF_RANGE;
  }
  position_ = static_cast<uint32_t>(target);
  return RC_OK;
}

ResultCode MemFile::CheckCopy(const void* memory, uint32_t count) const {
  if (!buffer_) return RC_NO_BUFFER;
  if (!memory) return RC_NULL_ARGUMENT;
  if (count == 0) return RC_BAD_LENGTH;
  return RC_OK;
}

uint32_t MemFile::FittingCount(uint32_t count) const {
  uint32_t room = capacity_ - position_;
  return count < room ? count : room;
}

ResultCode MemFile::WriteBytes(const void* source, uint32_t count, uint32_t* moved) {
  NoteChange();
  if (ResultCode rc = CheckCopy(source, count)) return rc;
  count = FittingCount(count);
  std::memcpy(buffer_ + position_, source, count);
  position_ += count;
  if (moved) *moved = count;
  return RC_OK;
}

ResultCode MemFile::ReadBytes(void* destination, uint32_t count, uint32_t* moved) {
  NoteChange();
  if (ResultCode rc = CheckCopy(destination, count)) return rc;
  count = FittingCount(count);
  std::memcpy(destination, buffer_ + position_, count);
  position_ += count;
  if (moved) *moved = count;
  return RC_OK;
}

uint32_t MemFile::GetCapacity() const { return capacity_; }

uint8_t* MemFile::GetBuffer() const { return buffer_; }
