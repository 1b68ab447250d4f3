// MemFile and TextFile under random sequences of their operations (DiskFile's included), with
// one platform call failing now and then, checked after every step against a plain model: the
// file state, the buffer's bytes, position and capacity, the files on disk, and the line
// counter, which must always equal what CountLines gives.
#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "file/text_file.h"
#include "fuzz_support.h"
#include "platform/subst/fault_hooks.h"
#include "platform/subst/file_hooks.h"

namespace {

using subst::Fault;

constexpr int kNames = 3;
constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;

std::string PathOf(int name) { return ScratchFolder() + "/f" + std::to_string(name); }

std::optional<std::string> ReadDisk(int name) {
  std::ifstream in(PathOf(name), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Model {
  // DiskFile
  bool open = false;
  int name = 0;
  uint32_t access = 0;
  uint32_t osPointer = 0;
  int32_t filePosition = 0;
  int32_t endFlag = 0;
  // MemFile
  bool hasBuffer = false;
  std::vector<uint8_t> bytes;
  std::vector<bool> unknown;  // not yet written since the block was allocated
  uint32_t position = 0;
  // Disk
  std::map<int, std::string> files;
  FaultPlan faults;

  uint32_t Capacity() const { return static_cast<uint32_t>(bytes.size()); }

  // DiskFile -----------------------------------------------------------------------------
  ResultCode Close() {
    if (!open) return RC_OK;
    const bool failed = faults.Fails(Fault::kClose);
    open = false;
    filePosition = 0;
    endFlag = 0;
    return failed ? RC_IO_FAILED : RC_OK;
  }

  // 0 CreateReadWrite, 1 OpenReadWrite, 2 OpenRead, 3 CreateWrite.
  ResultCode Open(int mode, int target) {
    Close();
    const bool exists = files.count(target) != 0;
    if (faults.Fails(Fault::kOpen) || (mode == 2 && !exists)) return RC_OPEN_FAILED;
    if (mode == 0 || mode == 3 || !exists) files[target].clear();
    open = true;
    name = target;
    access = mode == 2 ? GENERIC_READ : mode == 3 ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
    osPointer = 0;
    filePosition = 0;
    return RC_OK;
  }

  ResultCode CheckTransfer(bool nullBuffer, uint32_t count) const {
    if (!open) return RC_FILE_NOT_OPEN;
    if (nullBuffer) return RC_NULL_ARGUMENT;
    if (count == 0) return RC_BAD_LENGTH;
    return RC_OK;
  }

  void Record(uint32_t moved) {
    if (moved == 0)
      endFlag = 1;
    else
      filePosition = static_cast<int32_t>(static_cast<uint32_t>(filePosition) + moved);
  }

  // The bytes a read of count gives, or none when it fails.
  ResultCode Read(bool nullBuffer, uint32_t count, std::string* got) {
    if (ResultCode rc = CheckTransfer(nullBuffer, count)) return rc;
    if (faults.Fails(Fault::kRead) || !(access & GENERIC_READ)) return RC_IO_FAILED;
    const std::string& content = files[name];
    const uint32_t size = static_cast<uint32_t>(content.size());
    const uint32_t moved = osPointer >= size ? 0 : std::min(count, size - osPointer);
    if (got) *got = content.substr(osPointer < size ? osPointer : size, moved);
    osPointer += moved;
    Record(moved);
    return RC_OK;
  }

  void Put(const uint8_t* data, uint32_t count) {
    std::string& content = files[name];
    if (content.size() < osPointer + static_cast<size_t>(count))
      content.resize(osPointer + count, '\0');
    std::copy(data, data + count, content.begin() + osPointer);
    osPointer += count;
  }

  ResultCode Write(const uint8_t* data, uint32_t count) {
    if (ResultCode rc = CheckTransfer(data == nullptr, count)) return rc;
    if (!(access & GENERIC_WRITE)) return RC_IO_FAILED;
    if (faults.Fails(Fault::kWrite)) {
      Put(data, count / 2);
      return RC_IO_FAILED;
    }
    Put(data, count);
    Record(count);
    return RC_OK;
  }

  ResultCode DiskSeek(int32_t offset) {
    if (!open) return RC_FILE_NOT_OPEN;
    endFlag = 0;
    if (faults.Fails(Fault::kSeek) || offset < 0) return RC_FAILED;
    osPointer = static_cast<uint32_t>(offset);
    filePosition = offset;
    return RC_OK;
  }

  uint32_t GetSize() {
    if (!open) return RC_FILE_NOT_OPEN;
    if (faults.Fails(Fault::kSize)) return INVALID_FILE_SIZE;
    return static_cast<uint32_t>(files[name].size());
  }

  ResultCode DiskSeekEnd() {
    if (!open) return RC_FILE_NOT_OPEN;
    filePosition = static_cast<int32_t>(GetSize());
    if (faults.Fails(Fault::kSeek)) return RC_FAILED;
    osPointer = static_cast<uint32_t>(files[name].size());
    return RC_OK;
  }

  // MemFile ------------------------------------------------------------------------------
  void Free() {
    hasBuffer = false;
    bytes.clear();
    unknown.clear();
    position = 0;
  }

  void Allocate(uint32_t capacity) {
    if (capacity == Capacity()) return;
    Free();
    if (capacity == 0 || faults.Fails(Fault::kHeapAlloc)) return;
    hasBuffer = true;
    bytes.assign(capacity, 0);
    unknown.assign(capacity, true);
  }

  ResultCode Fill(int32_t value) {
    if (!hasBuffer) return RC_NO_BUFFER;
    std::fill(bytes.begin(), bytes.end(), static_cast<uint8_t>(value));
    std::fill(unknown.begin(), unknown.end(), false);
    return RC_OK;
  }

  ResultCode Seek(int32_t offset) {
    if (!hasBuffer) return RC_NO_BUFFER;
    if (static_cast<uint32_t>(offset) < Capacity()) {
      position = static_cast<uint32_t>(offset);
      return RC_OK;
    }
    position = Capacity();
    return RC_OUT_OF_RANGE;
  }

  ResultCode SeekEnd() {
    if (!hasBuffer) return RC_NO_BUFFER;
    position = Capacity() - 1;
    return RC_OK;
  }

  ResultCode Move(int32_t delta) {
    if (!hasBuffer) return RC_NO_BUFFER;
    const int64_t target = int64_t{position} + delta;
    if (delta > 0 && target >= Capacity()) {
      position = Capacity();
      return RC_OUT_OF_RANGE;
    }
    if (target < 0) {
      position = 0;
      return RC_OUT_OF_RANGE;
    }
    position = static_cast<uint32_t>(target);
    return RC_OK;
  }

  ResultCode CheckCopy(bool null, uint32_t count) const {
    if (!hasBuffer) return RC_NO_BUFFER;
    if (null) return RC_NULL_ARGUMENT;
    if (count == 0) return RC_BAD_LENGTH;
    return RC_OK;
  }

  void Store(uint32_t at, const uint8_t* data, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      bytes[at + i] = data[i];
      unknown[at + i] = false;
    }
  }

  ResultCode WriteBytes(const uint8_t* source, uint32_t count, uint32_t* moved) {
    if (ResultCode rc = CheckCopy(source == nullptr, count)) return rc;
    count = std::min(count, Capacity() - position);
    Store(position, source, count);
    position += count;
    *moved = count;
    return RC_OK;
  }

  ResultCode ReadBytes(bool nullDestination, uint32_t count, std::string* got, uint32_t* moved) {
    if (ResultCode rc = CheckCopy(nullDestination, count)) return rc;
    count = std::min(count, Capacity() - position);
    got->assign(bytes.begin() + position, bytes.begin() + position + count);
    position += count;
    *moved = count;
    return RC_OK;
  }

  ResultCode Save(int target, uint32_t length) {
    if (!hasBuffer) return RC_NO_BUFFER;
    if (length > Capacity()) return RC_OUT_OF_RANGE;
    if (ResultCode rc = Open(3, target)) return rc;
    DiskSeek(0);
    const uint32_t count = length != 0 ? length : position;
    const ResultCode written =
        Write(count ? bytes.data() : reinterpret_cast<const uint8_t*>(""), count);
    const ResultCode closed = Close();
    return written != RC_OK ? written : closed;
  }

  ResultCode Load(int target, uint32_t length) {
    if (ResultCode rc = Open(2, target)) return rc;
    const uint32_t count = length != 0 ? length : GetSize();
    if (length == 0 && count == INVALID_FILE_SIZE) {
      Close();
      return RC_IO_FAILED;
    }
    Allocate(count);
    DiskSeek(0);
    std::string got;
    const ResultCode read = Read(!hasBuffer, count, &got);
    if (read == RC_OK)
      Store(0, reinterpret_cast<const uint8_t*>(got.data()), static_cast<uint32_t>(got.size()));
    Close();
    return read;
  }

  // TextFile -----------------------------------------------------------------------------
  bool Fits(uint64_t count) const { return position + count < Capacity(); }

  int32_t LineCount() const {
    if (!hasBuffer) return RC_NO_BUFFER;
    int32_t lines = 0;
    for (uint32_t i = 0; i < position; ++i) {
      if (bytes[i] == kCr) {
        ++lines;
        ++i;
      }
    }
    return lines;
  }

  int32_t Column() const {
    if (!hasBuffer) return RC_NO_BUFFER;
    for (uint32_t i = position; i > 0; --i)
      if (bytes[i - 1] == kLf) return static_cast<int32_t>(position - i);
    return static_cast<int32_t>(position);
  }

  ResultCode AllocateZeroed(uint32_t capacity) {
    Allocate(capacity);
    return Fill(0);
  }

  ResultCode WriteString(const char* text) {
    if (!hasBuffer) return RC_NO_BUFFER;
    if (!text) return RC_NULL_ARGUMENT;
    const auto n = static_cast<uint32_t>(std::strlen(text));
    if (!Fits(n)) return RC_OUT_OF_RANGE;
    Store(position, reinterpret_cast<const uint8_t*>(text), n);
    position += n;
    return RC_OK;
  }

  void StoreLineEnd() {
    const uint8_t lineEnd[] = {kCr, kLf};
    Store(position, lineEnd, 2);
    position += 2;
  }

  ResultCode WriteLine(const char* text) {
    if (ResultCode rc = WriteString(text)) return rc;
    if (!Fits(2)) return RC_OUT_OF_RANGE;
    StoreLineEnd();
    return RC_OK;
  }

  ResultCode WriteEmptyLines(int32_t count) {
    if (!hasBuffer) return RC_NO_BUFFER;
    const uint64_t lines = count < 0 ? 0 : static_cast<uint64_t>(count);
    if (!Fits(2 * lines)) return RC_OUT_OF_RANGE;
    for (uint64_t i = 0; i < lines; ++i) StoreLineEnd();
    return RC_OK;
  }

  ResultCode PadToColumn(int32_t column) {
    if (!hasBuffer) return RC_NO_BUFFER;
    if (column < 0) return RC_OUT_OF_RANGE;
    const int64_t shift = int64_t{column} - Column();
    if (shift > 0) {
      if (!Fits(static_cast<uint64_t>(shift))) return RC_OUT_OF_RANGE;
      const std::vector<uint8_t> spaces(static_cast<size_t>(shift), ' ');
      Store(position, spaces.data(), static_cast<uint32_t>(shift));
    }
    position = static_cast<uint32_t>(position + shift);
    return RC_OK;
  }

  // The line, or none for a null result.
  std::optional<std::string> ReadLine(bool nullDestination, int32_t maximum) {
    if (!hasBuffer || nullDestination) return std::nullopt;
    std::string line;
    while (static_cast<int32_t>(line.size()) < maximum && position < Capacity()) {
      if (bytes[position] == kCr) {
        position = Capacity() - position < 2 ? Capacity() : position + 2;
        break;
      }
      line += static_cast<char>(bytes[position++]);
    }
    return line;
  }
};

enum class Op {
  kOpen,
  kClose,
  kRead,
  kWrite,
  kDiskSeek,
  kDiskSeekEnd,
  kGetSize,
  kAllocate,
  kFree,
  kFill,
  kSeek,
  kSeekEnd,
  kMove,
  kWriteBytes,
  kReadBytes,
  kSave,
  kLoad,
  // TextFile only from here on
  kCountLines,
  kAllocateZeroed,
  kSaveText,
  kLoadText,
  kSetPosition,
  kWriteLine,
  kWriteString,
  kWriteEmptyLines,
  kPadToColumn,
  kReadLine,
  kCount
};

constexpr Fault kFaultKinds[] = {Fault::kOpen, Fault::kRead,  Fault::kWrite,    Fault::kSeek,
                                 Fault::kSize, Fault::kClose, Fault::kHeapAlloc};

class Session {
 public:
  Session(FuzzedDataProvider& in, bool text) : in_(in), text_(text) {
    file_ = text ? std::make_unique<TextFile>() : std::make_unique<MemFile>();
    textFile_ = text ? static_cast<TextFile*>(file_.get()) : nullptr;
  }

  void Step(int step) {
    const int last = static_cast<int>(text_ ? Op::kCount : Op::kCountLines) - 1;
    const auto op = static_cast<Op>(in_.ConsumeIntegralInRange<int>(0, last));
    const std::string failing = m_.faults.ArmSometimes(in_, 8, kFaultKinds);
    where_ =
        "step " + std::to_string(step) + " op " + std::to_string(static_cast<int>(op)) + failing;
    Run(op);
    m_.faults.Disarm();
    Check();
  }

  void Finish() {
    file_.reset();
    FUZZ_EXPECT_EQ(subst::OpenFileHandles(), 0, "handles left open");
  }

 private:
  uint32_t Count() {
    return in_.ConsumeBool() ? in_.ConsumeIntegralInRange<uint32_t>(0, 72)
                             : in_.ConsumeIntegral<uint32_t>();
  }
  int32_t Offset() {
    return in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-4, 72)
                             : in_.ConsumeIntegral<int32_t>();
  }
  uint32_t SmallCapacity() {
    return in_.ConsumeBool() ? m_.Capacity() : in_.ConsumeIntegralInRange<uint32_t>(0, 64);
  }
  void Expect(ResultCode got, ResultCode expected) { FUZZ_EXPECT_EQ(got, expected, where_); }

  void Run(Op op) {
    MemFile& f = *file_;
    switch (op) {
      case Op::kOpen: {
        const int mode = in_.ConsumeIntegralInRange<int>(0, 3);
        const int name = in_.ConsumeIntegralInRange<int>(0, kNames - 1);
        const std::string path = PathOf(name);
        const ResultCode got = mode == 0   ? f.CreateReadWrite(path.c_str())
                               : mode == 1 ? f.OpenReadWrite(path.c_str())
                               : mode == 2 ? f.OpenRead(path.c_str())
                                           : f.CreateWrite(path.c_str());
        Expect(got, m_.Open(mode, name));
        break;
      }
      case Op::kClose: Expect(f.Close(), m_.Close()); break;
      case Op::kRead: {
        const bool null = in_.ConsumeIntegralInRange<int>(0, 9) == 0;
        const uint32_t count = in_.ConsumeIntegralInRange<uint32_t>(0, 80);
        std::vector<char> buffer(count + 1);
        const int32_t before = f.GetFilePosition();
        std::string expected;
        Expect(f.Read(null ? nullptr : buffer.data(), count), m_.Read(null, count, &expected));
        const auto moved = static_cast<size_t>(f.GetFilePosition() - before);
        if (moved > 0) {
          FUZZ_CHECK(std::string(buffer.data(), moved) == expected, where_ + ": bytes read");
        }
        break;
      }
      case Op::kWrite: {
        const std::string data = in_.ConsumeRandomLengthString(80);
        const bool null = in_.ConsumeIntegralInRange<int>(0, 9) == 0;
        const auto* bytes = null ? nullptr : reinterpret_cast<const uint8_t*>(data.data());
        const auto count = static_cast<uint32_t>(data.size());
        Expect(f.Write(bytes, count), m_.Write(bytes, count));
        break;
      }
      case Op::kDiskSeek: {
        // Far forward would make files of gigabytes.
        const int32_t offset = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-4, 100)
                                                 : in_.ConsumeIntegral<int32_t>() | INT32_MIN;
        Expect(f.DiskFile::Seek(offset), m_.DiskSeek(offset));
        break;
      }
      case Op::kDiskSeekEnd: Expect(f.DiskFile::SeekEnd(), m_.DiskSeekEnd()); break;
      case Op::kGetSize: FUZZ_EXPECT_EQ(f.GetSize(), m_.GetSize(), where_); break;
      case Op::kAllocate: {
        const uint32_t capacity = SmallCapacity();
        Expect(f.Allocate(capacity), RC_OK);
        m_.Allocate(capacity);
        break;
      }
      case Op::kFree:
        Expect(f.Free(), RC_OK);
        m_.Free();
        break;
      case Op::kFill: {
        const auto value = in_.ConsumeIntegral<int32_t>();
        Expect(f.Fill(value), m_.Fill(value));
        break;
      }
      case Op::kSeek: {
        const int32_t offset = Offset();
        Expect(f.Seek(offset), m_.Seek(offset));
        break;
      }
      case Op::kSeekEnd: Expect(f.SeekEnd(), m_.SeekEnd()); break;
      case Op::kMove: {
        const int32_t delta = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-80, 80)
                                                : in_.ConsumeIntegral<int32_t>();
        Expect(f.Move(delta), m_.Move(delta));
        break;
      }
      case Op::kWriteBytes: {
        const std::string data = in_.ConsumeRandomLengthString(80);
        const bool null = in_.ConsumeIntegralInRange<int>(0, 9) == 0;
        const auto* source = null ? nullptr : reinterpret_cast<const uint8_t*>(data.data());
        const auto count = static_cast<uint32_t>(data.size());
        const bool withMoved = in_.ConsumeBool();
        uint32_t moved = 0xDEAD, expectedMoved = 0xDEAD;
        Expect(f.WriteBytes(source, count, withMoved ? &moved : nullptr),
               m_.WriteBytes(source, count, &expectedMoved));
        if (withMoved) FUZZ_EXPECT_EQ(moved, expectedMoved, where_);
        break;
      }
      case Op::kReadBytes: {
        const bool null = in_.ConsumeIntegralInRange<int>(0, 9) == 0;
        const uint32_t count = in_.ConsumeIntegralInRange<uint32_t>(0, 80);
        std::vector<char> buffer(count + 1);
        uint32_t moved = 0xDEAD, expectedMoved = 0xDEAD;
        std::string expected;
        Expect(f.ReadBytes(null ? nullptr : buffer.data(), count, &moved),
               m_.ReadBytes(null, count, &expected, &expectedMoved));
        FUZZ_EXPECT_EQ(moved, expectedMoved, where_);
        if (expectedMoved != 0xDEAD) {
          FUZZ_CHECK(std::string(buffer.data(), moved) == expected, where_ + ": bytes copied");
        }
        break;
      }
      case Op::kSave: {
        const int name = in_.ConsumeIntegralInRange<int>(0, kNames - 1);
        const uint32_t length = in_.ConsumeBool() ? 0 : in_.ConsumeIntegralInRange<uint32_t>(0, 80);
        Expect(f.Save(PathOf(name).c_str(), length), m_.Save(name, length));
        break;
      }
      case Op::kLoad: {
        const int name = in_.ConsumeIntegralInRange<int>(0, kNames - 1);
        const uint32_t length = in_.ConsumeBool() ? 0 : in_.ConsumeIntegralInRange<uint32_t>(0, 80);
        Expect(f.Load(PathOf(name).c_str(), length), m_.Load(name, length));
        break;
      }
      default: RunText(op); break;
    }
  }

  void RunText(Op op) {
    TextFile& t = *textFile_;
    switch (op) {
      case Op::kCountLines: t.CountLines(); break;
      case Op::kAllocateZeroed: {
        const uint32_t capacity = SmallCapacity();
        Expect(t.AllocateZeroed(capacity), m_.AllocateZeroed(capacity));
        break;
      }
      case Op::kSaveText: {
        const int name = in_.ConsumeIntegralInRange<int>(0, kNames - 1);
        Expect(t.SaveText(PathOf(name).c_str()), m_.Save(name, m_.position));
        break;
      }
      case Op::kLoadText: {
        const int name = in_.ConsumeIntegralInRange<int>(0, kNames - 1);
        Expect(t.LoadText(PathOf(name).c_str()), m_.Load(name, 0));
        break;
      }
      case Op::kSetPosition: {
        const auto offset = static_cast<uint32_t>(Offset());
        Expect(t.SetPosition(offset), m_.Seek(static_cast<int32_t>(offset)));
        break;
      }
      case Op::kWriteLine:
      case Op::kWriteString: {
        const std::string text = in_.ConsumeRandomLengthString(40);
        const char* argument = in_.ConsumeIntegralInRange<int>(0, 9) == 0 ? nullptr : text.c_str();
        if (op == Op::kWriteLine)
          Expect(t.WriteLine(argument), m_.WriteLine(argument));
        else
          Expect(t.WriteString(argument), m_.WriteString(argument));
        break;
      }
      case Op::kWriteEmptyLines: {
        const int32_t count = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-2, 30)
                                                : in_.ConsumeIntegral<int32_t>();
        Expect(t.WriteEmptyLines(count), m_.WriteEmptyLines(count));
        break;
      }
      case Op::kPadToColumn: {
        const int32_t column = Offset();
        Expect(t.PadToColumn(column), m_.PadToColumn(column));
        break;
      }
      case Op::kReadLine: {
        const bool null = in_.ConsumeIntegralInRange<int>(0, 9) == 0;
        const int32_t maximum = in_.ConsumeIntegralInRange<int32_t>(-2, 40);
        std::vector<char> line(static_cast<size_t>(std::max(maximum, 0)) + 1, 'x');
        const char* got = t.ReadLine(null ? nullptr : line.data(), maximum);
        const std::optional<std::string> expected = m_.ReadLine(null, maximum);
        FUZZ_CHECK((got != nullptr) == expected.has_value(), where_);
        if (got) {
          FUZZ_CHECK(got == line.data(), where_);
          FUZZ_CHECK(std::memchr(got, '\0', line.size()) != nullptr, where_ + ": unterminated");
          // The line may hold NUL bytes of the buffer: compare them all.
          FUZZ_CHECK(std::memcmp(got, expected->data(), expected->size()) == 0 &&
                         got[expected->size()] == '\0',
                     where_ + ": line read");
        }
        break;
      }
      default: break;
    }
  }

  void Check() {
    MemFile& f = *file_;
    // Bytes the library left uninitialised are whatever it holds.
    if (m_.hasBuffer && f.GetBuffer() && f.GetCapacity() == m_.Capacity()) {
      for (size_t i = 0; i < m_.bytes.size(); ++i) {
        if (m_.unknown[i]) m_.bytes[i] = f.GetBuffer()[i];
      }
      std::fill(m_.unknown.begin(), m_.unknown.end(), false);
    }
    FUZZ_CHECK((f.GetBuffer() != nullptr) == m_.hasBuffer, where_);
    FUZZ_EXPECT_EQ(f.GetCapacity(), m_.Capacity(), where_);
    FUZZ_EXPECT_EQ(f.GetPosition(), m_.position, where_);
    if (m_.hasBuffer) {
      FUZZ_CHECK(std::memcmp(f.GetBuffer(), m_.bytes.data(), m_.bytes.size()) == 0,
                 where_ + ": buffer bytes");
    }
    FUZZ_EXPECT_EQ(f.IsAtEnd(), m_.endFlag, where_);
    FUZZ_EXPECT_EQ(f.GetFilePosition(), m_.filePosition, where_);
    FUZZ_EXPECT_EQ(subst::OpenFileHandles(), m_.open ? 1 : 0, where_);
    if (textFile_) {
      FUZZ_EXPECT_EQ(textFile_->GetColumn(), m_.Column(), where_);
      FUZZ_EXPECT_EQ(textFile_->GetLineCount(), m_.LineCount(), where_ + ": line counter");
    }
    for (int name = 0; name < kNames; ++name) {
      const auto it = m_.files.find(name);
      const std::optional<std::string> onDisk = ReadDisk(name);
      FUZZ_CHECK(onDisk.has_value() == (it != m_.files.end()), where_ + ": file exists");
      if (onDisk) FUZZ_CHECK(*onDisk == it->second, where_ + ": file " + std::to_string(name));
    }
  }

  FuzzedDataProvider& in_;
  bool text_;
  std::unique_ptr<MemFile> file_;
  TextFile* textFile_;
  Model m_;
  std::string where_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (int name = 0; name < kNames; ++name) std::filesystem::remove(PathOf(name));
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  Session session(in, in.ConsumeBool());
  for (int step = 0; in.remaining_bytes() > 0 && step < 200; ++step) session.Step(step);
  session.Finish();
  return 0;
}
