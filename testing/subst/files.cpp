// Files for the native build, POSIX underneath, keeping the Win32 rules the library relies on:
// the creation dispositions, access rights, share modes (no FILE_SHARE_DELETE, so a file held
// open can be neither deleted nor moved), drive letters and '\' separators in Shift-JIS paths.
// Each API function below is the one place where its platform work happens.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fault_hooks.h"
#include "file_hooks.h"
#include "win32_subst.h"

namespace {

constexpr DWORD kShareRead = 0x1;
constexpr DWORD kShareWrite = 0x2;

struct OpenFile {
  int fd;
  dev_t device;
  ino_t inode;
  DWORD access;
  DWORD share;
};

// Every handle handed out and not yet closed. Never destroyed, so that file objects destroyed
// late at exit can still close theirs.
std::vector<OpenFile*>& OpenFiles() {
  static auto* files = new std::vector<OpenFile*>;
  return *files;
}

std::string& DriveRoot() {
  static auto* root = new std::string;
  return *root;
}

OpenFile* Lookup(HANDLE handle) {
  auto& files = OpenFiles();
  auto it = std::find(files.begin(), files.end(), handle);
  return it == files.end() ? nullptr : *it;
}

// The file a ReadFile or WriteFile may use, or null where Win32 refuses the call; the count
// moved starts at 0 either way.
OpenFile* TransferFile(HANDLE handle, DWORD right, const void* buffer, DWORD count, DWORD* moved,
                       void* overlapped) {
  OpenFile* file = Lookup(handle);
  if (moved) *moved = 0;
  bool usable = file && moved && !overlapped && (file->access & right) && (buffer || count == 0);
  return usable ? file : nullptr;
}

bool IsSameFile(const OpenFile& file, const struct stat& st) {
  return file.device == st.st_dev && file.inode == st.st_ino;
}

bool IsHeldOpen(const struct stat& st) {
  const auto& files = OpenFiles();
  return std::any_of(files.begin(), files.end(), [&](OpenFile* f) { return IsSameFile(*f, st); });
}

// Each side must allow what the other side does with the file.
bool SharesWith(const OpenFile& held, DWORD access, DWORD share) {
  auto allows = [](DWORD grantedShare, DWORD wantedAccess) {
    return (!(wantedAccess & GENERIC_READ) || (grantedShare & kShareRead)) &&
           (!(wantedAccess & GENERIC_WRITE) || (grantedShare & kShareWrite));
  };
  return allows(held.share, access) && allows(share, held.access);
}

bool CanShare(const struct stat& st, DWORD access, DWORD share) {
  for (OpenFile* held : OpenFiles())
    if (IsSameFile(*held, st) && !SharesWith(*held, access, share)) return false;
  return true;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// '\' becomes '/', except as the trail byte of a double-byte character.
std::string WithSlashes(const char* path) {
  std::string out;
  for (const char* p = path; *p; ++p) {
    if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1]) {
      out += *p++;
      out += *p;
    } else {
      out += *p == '\\' ? '/' : *p;
    }
  }
  return out;
}

// "." and ".." resolved as Windows resolves them: ".." never climbs above the drive's root,
// so nothing named by a drive path lies outside the drive's folder.
std::string WithinDrive(const std::string& rest) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('/', start);
    if (end == std::string::npos) end = rest.size();
    const std::string part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : "/") + part;
  // A final separator stays: "C:\a\" names the folder a.
  if (!rest.empty() && rest.back() == '/' && !out.empty()) out += '/';
  return out;
}

bool IsDrivePath(const char* path) {
  return std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// False when the path names nothing here: null, empty, too long for the A functions, or on a
// drive while no drive root is set.
bool MapPath(const char* path, std::string& out) {
  if (!path || !*path || std::char_traits<char>::length(path) >= MAX_PATH) return false;
  if (!IsDrivePath(path)) {
    out = WithSlashes(path);
    return true;
  }
  if (DriveRoot().empty()) return false;
  out = DriveRoot() + '/' + static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))) +
        '/' + WithinDrive(WithSlashes(path + 2));
  return true;
}

bool Truncates(DWORD disposition) {
  return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
}

// -1 for a disposition Win32 does not know, or truncation without the right to write.
int OpenFlags(DWORD access, DWORD disposition) {
  int create;
  switch (disposition) {
    case CREATE_NEW: create = O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS: create = O_CREAT; break;
    case OPEN_EXISTING: create = 0; break;
    case TRUNCATE_EXISTING:
      if (!(access & GENERIC_WRITE)) return -1;
      create = 0;
      break;
    default: return -1;
  }
  // The descriptor may need writing for the truncation even when the handle may not write.
  bool reads = access & GENERIC_READ;
  bool writes = (access & GENERIC_WRITE) || Truncates(disposition);
  int mode = reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
  return mode | create | O_CLOEXEC;
}

bool StatPath(const char* path, std::string& name, struct stat& st) {
  return MapPath(path, name) && stat(name.c_str(), &st) == 0;
}

void SyncPath(const std::string& name, int flags) {
  int fd = open(name.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

std::string ParentOf(const std::string& name) {
  auto slash = name.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
}

// ---- the power-cut model (file_hooks.h) ---------------------------------------------------
// Files are known by their inodes, which is sound while no inode is freed and then reused
// within one run: a Set command frees one only with its last step.
using Inode = std::pair<dev_t, ino_t>;

struct DiskModel {
  bool running = false;
  int32_t cutAfter = -1;
  std::map<std::string, Inode> names;
  std::map<Inode, std::string> bytes;  // a file missing here has none on the disk
};

DiskModel& Model() {
  static auto* model = new DiskModel;
  return *model;
}

bool PowerReachesDisk() {
  const DiskModel& model = Model();
  return model.running &&
         (model.cutAfter < 0 || static_cast<int32_t>(subst::CallLog().size()) <= model.cutAfter);
}

std::string Key(const std::string& name) {
  return std::filesystem::path(name).lexically_normal().string();
}

std::string BytesOf(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

namespace subst {

void SetDriveRoot(const char* dir) { DriveRoot() = dir ? dir : ""; }

int32_t OpenFileHandles() { return static_cast<int32_t>(OpenFiles().size()); }

void StartDiskModel() {
  DiskModel& model = Model() = DiskModel{};
  model.running = true;
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(DriveRoot(), error), end;
       !error && it != end; it.increment(error)) {
    struct stat st;
    const std::string name = it->path().string();
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    model.names[Key(name)] = {st.st_dev, st.st_ino};
    model.bytes[{st.st_dev, st.st_ino}] = BytesOf(name);
  }
  LogCalls(true);
}

void StopDiskModel() {
  Model() = DiskModel{};
  LogCalls(false);
}

void CutPowerAfter(int32_t calls) { Model().cutAfter = calls; }

std::optional<std::string> OnDisk(const char* path) {
  DiskModel& model = Model();
  std::string name;
  if (!MapPath(path, name) || !model.names.count(Key(name))) return std::nullopt;
  return model.bytes[model.names[Key(name)]];
}

}  // namespace subst

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, SECURITY_ATTRIBUTES*,
                   DWORD disposition, DWORD, HANDLE) {
  if (subst::FaultDue(subst::Fault::kOpen)) return INVALID_HANDLE_VALUE;
  std::string name;
  int flags = OpenFlags(access, disposition);
  if (!MapPath(path, name) || flags < 0) return INVALID_HANDLE_VALUE;
  int fd = open(name.c_str(), flags, 0666);
  if (fd < 0) return INVALID_HANDLE_VALUE;
  // Nothing is truncated before the file is known to be free.
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || !CanShare(st, access, share) ||
      (Truncates(disposition) && ftruncate(fd, 0) != 0)) {
    close(fd);
    return INVALID_HANDLE_VALUE;
  }
  auto* file = new OpenFile{fd, st.st_dev, st.st_ino, access, share};
  OpenFiles().push_back(file);
  return file;
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD count, DWORD* moved, void* overlapped) {
  const bool fails = subst::FaultDue(subst::Fault::kRead);
  OpenFile* file = TransferFile(handle, GENERIC_READ, buffer, count, moved, overlapped);
  if (!file || fails) return FALSE;
  DWORD done = 0;
  while (done < count) {
    ssize_t n = read(file->fd, static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FALSE;
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  *moved = done;
  return TRUE;
}

namespace {

bool WriteAll(int fd, const char* bytes, DWORD count) {
  DWORD done = 0;
  while (done < count) {
    ssize_t n = write(fd, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<DWORD>(n);
  }
  return true;
}

}  // namespace

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD count, DWORD* moved, void* overlapped) {
  const bool fails = subst::FaultDue(subst::Fault::kWrite);
  OpenFile* file = TransferFile(handle, GENERIC_WRITE, buffer, count, moved, overlapped);
  if (!file) return FALSE;
  const char* bytes = static_cast<const char*>(buffer);
  if (fails) {
    WriteAll(file->fd, bytes, count / 2);  // the disk filled up part way
    return FALSE;
  }
  if (!WriteAll(file->fd, bytes, count)) return FALSE;
  *moved = count;
  return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
  if (subst::FaultDue(subst::Fault::kSeek)) return INVALID_SET_FILE_POINTER;
  OpenFile* file = Lookup(handle);
  struct stat st;
  if (!file || method > FILE_END || fstat(file->fd, &st) != 0) return INVALID_SET_FILE_POINTER;
  int64_t move = distance;
  if (distanceHigh)
    move = static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32 |
                                static_cast<uint32_t>(distance));
  int64_t base = method == FILE_BEGIN     ? 0
                 : method == FILE_CURRENT ? lseek(file->fd, 0, SEEK_CUR)
                                          : static_cast<int64_t>(st.st_size);
  int64_t target = base + move;
  // Without a high part the new position must fit in 32 bits; it can never be negative.
  if (base < 0 || target < 0 || (!distanceHigh && target > 0xFFFFFFFFll) ||
      lseek(file->fd, target, SEEK_SET) < 0)
    return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = static_cast<LONG>(target >> 32);
  return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
  if (subst::FaultDue(subst::Fault::kSize)) return INVALID_FILE_SIZE;
  OpenFile* file = Lookup(handle);
  struct stat st;
  if (!file || fstat(file->fd, &st) != 0) return INVALID_FILE_SIZE;
  auto size = static_cast<uint64_t>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size);
}

// Brings the bytes written to the disk, where a power cut cannot take them.
BOOL FlushFileBuffers(HANDLE handle) {
  if (subst::FaultDue(subst::Fault::kFlush)) return FALSE;
  OpenFile* file = Lookup(handle);
  if (!file || !(file->access & GENERIC_WRITE) || fsync(file->fd) != 0) return FALSE;
  if (!PowerReachesDisk()) return TRUE;
  Model().bytes[{file->device, file->inode}] = BytesOf("/proc/self/fd/" + std::to_string(file->fd));
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  const bool fails = subst::FaultDue(subst::Fault::kClose);
  OpenFile* file = Lookup(handle);
  if (!file) return FALSE;
  auto& files = OpenFiles();
  files.erase(std::find(files.begin(), files.end(), file));
  close(file->fd);
  delete file;
  return fails ? FALSE : TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) {
  if (subst::FaultDue(subst::Fault::kAttributes)) return INVALID_FILE_ATTRIBUTES;
  std::string name;
  struct stat st;
  if (!StatPath(path, name, st)) return INVALID_FILE_ATTRIBUTES;
  return S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL DeleteFileA(LPCSTR path) {
  if (subst::FaultDue(subst::Fault::kDelete)) return FALSE;
  std::string name;
  struct stat st;
  if (!StatPath(path, name, st) || S_ISDIR(st.st_mode) || IsHeldOpen(st)) return FALSE;
  return unlink(name.c_str()) == 0;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (subst::FaultDue(subst::Fault::kMove)) return FALSE;
  std::string source, target;
  struct stat sourceStat, targetStat;
  if (!StatPath(from, source, sourceStat) || IsHeldOpen(sourceStat) || !MapPath(to, target))
    return FALSE;
  if (stat(target.c_str(), &targetStat) == 0) {
    bool replaceable = (flags & MOVEFILE_REPLACE_EXISTING) && !S_ISDIR(targetStat.st_mode) &&
                       !S_ISDIR(sourceStat.st_mode) && !IsHeldOpen(targetStat);
    if (!replaceable) return FALSE;
  }
  if (rename(source.c_str(), target.c_str()) != 0) return FALSE;
  if (flags & MOVEFILE_WRITE_THROUGH) {
    if (PowerReachesDisk()) {
      Model().names.erase(Key(source));
      Model().names[Key(target)] = {sourceStat.st_dev, sourceStat.st_ino};
    }
    SyncPath(target, O_RDONLY);
    SyncPath(ParentOf(target), O_RDONLY | O_DIRECTORY);
    SyncPath(ParentOf(source), O_RDONLY | O_DIRECTORY);
  }
  return TRUE;
}

BOOL MoveFileA(LPCSTR from, LPCSTR to) { return MoveFileExA(from, to, 0); }

BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES*) {
  if (subst::FaultDue(subst::Fault::kCreateFolder)) return FALSE;
  std::string name;
  return MapPath(path, name) && mkdir(name.c_str(), 0777) == 0;
}

BOOL RemoveDirectoryA(LPCSTR path) {
  std::string name;
  return MapPath(path, name) && rmdir(name.c_str()) == 0;
}
