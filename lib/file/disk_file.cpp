#include "file/disk_file.h"

namespace {

constexpr DWORD kNoSharing = 0;
constexpr DWORD kRandomAccess = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS;

}  // namespace

DiskFile::~DiskFile() { DiskFile::Close(); }

ResultCode DiskFile::CreateReadWrite(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, kRandomAccess);
}

ResultCode DiskFile::OpenReadWrite(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, kRandomAccess);
}

ResultCode DiskFile::OpenRead(const char* path) {
  return Open(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

ResultCode DiskFile::CreateWrite(const char* path) {
  return Open(path, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

ResultCode DiskFile::Open(const char* path, DWORD access, DWORD disposition, DWORD flags) {
  Close();
  HANDLE handle = path ? CreateFileA(path, access, kNoSharing, nullptr, disposition, flags, nullptr)
                       : INVALID_HANDLE_VALUE;
  if (handle == INVALID_HANDLE_VALUE) {
    handle_ = nullptr;
    return RC_OPEN_FAILED;
  }
  handle_ = handle;
  filePosition_ = 0;
  return RC_OK;
}

// The handle is gone even when CloseHandle fails; the failure is still reported, since data
// written may not have reached the disk.
ResultCode DiskFile::Close() {
  if (!handle_) return RC_OK;
  const BOOL closed = CloseHandle(handle_);
  handle_ = nullptr;
  filePosition_ = 0;
  endFlag_ = 0;
  return closed ? RC_OK : RC_IO_FAILED;
}

ResultCode DiskFile::Read(void* buffer, uint32_t count) {
  if (ResultCode rc = CheckTransfer(buffer, count)) return rc;
  DWORD moved = 0;
  if (!ReadFile(handle_, buffer, count, &moved, nullptr)) return RC_IO_FAILED;
  return RecordTransfer(moved);
}

ResultCode DiskFile::Write(const void* buffer, uint32_t count) {
  if (ResultCode rc = CheckTransfer(buffer, count)) return rc;
  DWORD moved = 0;
  if (!WriteFile(handle_, buffer, count, &moved, nullptr)) return RC_IO_FAILED;
  return RecordTransfer(moved);
}

ResultCode DiskFile::CheckTransfer(const void* buffer, uint32_t count) const {
  if (!handle_) return RC_FILE_NOT_OPEN;
  if (!buffer) return RC_NULL_ARGUMENT;
  if (count == 0) return RC_BAD_LENGTH;
  return RC_OK;
}

ResultCode DiskFile::RecordTransfer(DWORD moved) {
  if (moved == 0)
    endFlag_ = 1;
  else
    filePosition_ = static_cast<int32_t>(static_cast<uint32_t>(filePosition_) + moved);
  return RC_OK;
}

ResultCode DiskFile::Flush() {
  if (!handle_) return RC_FILE_NOT_OPEN;
  return FlushFileBuffers(handle_) ? RC_OK : RC_IO_FAILED;
}

int32_t DiskFile::IsAtEnd() const { return endFlag_; }

int32_t DiskFile::GetFilePosition() const { return filePosition_; }

ResultCode DiskFile::Seek(int32_t offset) {
  if (!handle_) return RC_FILE_NOT_OPEN;
  endFlag_ = 0;  // also when the seek fails
  if (SetFilePointer(handle_, offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return RC_FAILED;
  filePosition_ = offset;
  return RC_OK;
}

ResultCode DiskFile::SeekEnd() {
  if (!handle_) return RC_FILE_NOT_OPEN;
  filePosition_ = static_cast<int32_t>(GetSize());
  const DWORD end = SetFilePointer(handle_, 0, nullptr, FILE_END);
  if (end == INVALID_SET_FILE_POINTER) return RC_FAILED;
  // The pointer's own answer: a size the system could not tell must not become position -1.
  filePosition_ = static_cast<int32_t>(end);
  return RC_OK;
}

uint32_t DiskFile::GetSize() const {
  if (!handle_) return RC_FILE_NOT_OPEN;
  return GetFileSize(handle_, nullptr);
}
