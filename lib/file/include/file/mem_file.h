#pragma once
#include <cstdint>

#include "file/disk_file.h"

// A DiskFile that also owns one memory buffer of fixed capacity with a byte position in it.
// The buffer moves to or from disk as a whole (Save, Load); the file is open only inside those.
// Positions outside the buffer are clamped to its nearest end and reported with
// RC_OUT_OF_RANGE; byte copies that do not fit are shortened silently.
class MemFile : public DiskFile {
 public:
  MemFile() = default;
  ~MemFile() override;

  // These act on the memory position. Seek compares its offset with the capacity unsigned, so
  // a negative one is out of range; the capacity itself is taken and still reported as RC_OUT_OF_RANGE.
  ResultCode Seek(int32_t offset) override;
  ResultCode SeekEnd() override;  // the last byte, not one past it

  // An unchanged capacity keeps the buffer, its bytes and the position. A failed allocation
  // is not reported: it leaves no buffer.
  virtual ResultCode Allocate(uint32_t capacity);
  virtual ResultCode Free();
  virtual ResultCode Fill(int32_t value);
  // Writes the first length bytes (0: up to the position) to a file created afresh.
  virtual ResultCode Save(const char* path, uint32_t length);
  // Reads length bytes (0: the whole file) into a buffer of that capacity. The position is
  // not reset when the capacity already matched. RC_IO_FAILED, buffer untouched, when the
  // whole file's size cannot be had.
  virtual ResultCode Load(const char* path, uint32_t length);
  virtual uint32_t GetPosition() const;
  virtual ResultCode Move(int32_t delta);
  virtual ResultCode WriteBytes(const void* source, uint32_t count, uint32_t* moved);
  virtual ResultCode ReadBytes(void* destination, uint32_t count, uint32_t* moved);
  virtual uint32_t GetCapacity() const;
  // The caller may read and write the bytes; the MemFile keeps ownership.
  virtual uint8_t* GetBuffer() const;

  // As Save, with the bytes flushed to the disk before the file is closed: for a file that is
  // about to replace another, which a power cut must not leave empty.
  ResultCode SaveFlushed(const char* path, uint32_t length);

  // Moves on with every call of the operations above that may change the position or the
  // bytes (bytes written through GetBuffer are not seen), so that a value computed from them
  // can tell whether it still holds.
  uint32_t ChangeCount() const { return changeCount_; }

 protected:
  uint32_t FittingCount(uint32_t count) const;
  ResultCode CheckCopy(const void* memory, uint32_t count) const;

  // Invariants: buffer_ is null exactly when capacity_ is 0; position_ lies in 0..capacity_.
  uint8_t* buffer_ = nullptr;
  uint32_t position_ = 0;
  uint32_t capacity_ = 0;

 private:
  ResultCode SaveBuffer(const char* path, uint32_t length, bool flush);

  void NoteChange() { ++changeCount_; }

  uint32_t changeCount_ = 0;
};
