#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "platform/win32.h"

// One operating-system file handle, opened in one of four fixed modes and held exclusively
// while open. The file position and the end flag are this object's own bookkeeping: they are
// never read back from the platform. Offsets and sizes are 32-bit.
class DiskFile {
 public:
  DiskFile() = default;
  virtual ~DiskFile();
  DiskFile(const DiskFile&) = delete;
  DiskFile& operator=(const DiskFile&) = delete;

  virtual ResultCode CreateReadWrite(const char* path);  // create or truncate
  virtual ResultCode OpenReadWrite(const char* path);    // open, or create when missing
  virtual ResultCode OpenRead(const char* path);         // must exist
  virtual ResultCode CreateWrite(const char* path);      // create or truncate, write only
  // RC_IO_FAILED when the platform reports that closing failed; the file is closed all the same.
  virtual ResultCode Close();
  // One platform transfer of up to count bytes; a short one is not an error. The count moved
  // shows as the change of GetFilePosition, and as the end flag when it is zero.
  virtual ResultCode Read(void* buffer, uint32_t count);
  virtual ResultCode Write(const void* buffer, uint32_t count);
  virtual int32_t IsAtEnd() const;
  virtual int32_t GetFilePosition() const;
  virtual ResultCode Seek(int32_t offset);
  virtual ResultCode SeekEnd();
  // The size, or the number RC_FILE_NOT_OPEN when no file is open.
  virtual uint32_t GetSize() const;

  // Brings what was written to the disk itself, past the system's cache, so that a power cut
  // cannot take it: RC_OK, RC_FILE_NOT_OPEN or RC_IO_FAILED.
  ResultCode Flush();

 private:
  ResultCode Open(const char* path, DWORD access, DWORD disposition, DWORD flags);
  ResultCode CheckTransfer(const void* buffer, uint32_t count) const;
  ResultCode RecordTransfer(DWORD moved);

  HANDLE handle_ = nullptr;  // null when closed, never INVALID_HANDLE_VALUE
  int32_t filePosition_ = 0;
  int32_t endFlag_ = 0;
};
