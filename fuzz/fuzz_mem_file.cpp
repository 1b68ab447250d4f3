// TextFile, and MemFile beneath it, under random sequences of their operations with the heap
// failing now and then, checked after every step against a plain model: the buffer's bytes,
// position and capacity, the files Save and Load go through, and the column and line counter,
// which must always equal a count of the lines before the position.
#include <algorithm>
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
#include "subst/file_hooks.h"

namespace {

constexpr int kNames = 3;
constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;

std::string PathOf(int name) { return ScratchFolder() + "/f" + std::to_string(name); }

std::optional<std::string> ReadDisk(int name) {
  std::ifstream in(PathOf(name), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The rules: positions run from 0 to the capacity; a Seek or Move out of range stops at the
// nearer end and says so; byte copies are cut at the capacity; text writes must leave the last
// byte free or are refused whole. A line is counted for each CR before the position, the byte
// after it taken for its LF.
struct Model {
  std::vector<uint8_t> bytes;  // empty: no buffer
  uint32_t position = 0;
  std::map<int, std::string> files;

  bool HasBuffer() const { return !bytes.empty(); }
  uint32_t Capacity() const { return static_cast<uint32_t>(bytes.size()); }

  // A fresh block's bytes are whatever it holds: the caller adopts the library's.
  bool Allocate(uint32_t capacity, bool heapFails) {
    if (capacity == Capacity()) return false;
    bytes.assign(heapFails ? 0 : capacity, 0);
    position = 0;
    return HasBuffer();
  }
  ResultCode Fill(int32_t value) {
    if (!HasBuffer()) return RC_NO_BUFFER;
    std::fill(bytes.begin(), bytes.end(), static_cast<uint8_t>(value));
    return RC_OK;
  }
  ResultCode Seek(int64_t offset) {
    if (!HasBuffer()) return RC_NO_BUFFER;
    const bool inside = offset >= 0 && offset < Capacity();
    position = inside ? static_cast<uint32_t>(offset) : Capacity();
    return inside ? RC_OK : RC_OUT_OF_RANGE;
  }
  ResultCode Move(int32_t delta) {
    if (!HasBuffer()) return RC_NO_BUFFER;
    const int64_t target = int64_t{position} + delta;
    if (target < 0) {
      position = 0;
      return RC_OUT_OF_RANGE;
    }
    if (delta > 0) return Seek(target);
    position = static_cast<uint32_t>(target);
    return RC_OK;
  }
  ResultCode CopyChecks(bool null, uint32_t count) const {
    if (!HasBuffer()) return RC_NO_BUFFER;
    if (null) return RC_NULL_ARGUMENT;
    return count == 0 ? RC_BAD_LENGTH : RC_OK;
  }
  uint32_t Fitting(uint32_t count) const { return std::min(count, Capacity() - position); }
  void Store(const std::string& data) {
    std::copy(data.begin(), data.end(), bytes.begin() + position);
    position += static_cast<uint32_t>(data.size());
  }
  ResultCode Save(int name, uint32_t length) {
    if (!HasBuffer()) return RC_NO_BUFFER;
    if (length > Capacity()) return RC_OUT_OF_RANGE;
    const uint32_t count = length != 0 ? length : position;
    files[name].assign(bytes.begin(), bytes.begin() + count);
    return count == 0 ? RC_BAD_LENGTH : RC_OK;
  }
  ResultCode Load(int name, uint32_t length, bool heapFails) {
    if (files.count(name) == 0) return RC_OPEN_FAILED;
    const std::string& content = files[name];
    const uint32_t count = length != 0 ? length : static_cast<uint32_t>(content.size());
    Allocate(count, heapFails);
    if (!HasBuffer()) return RC_NULL_ARGUMENT;
    std::copy_n(content.begin(), std::min<size_t>(count, content.size()), bytes.begin());
    return RC_OK;
  }

  bool Fits(uint64_t count) const { return position + count < Capacity(); }
  ResultCode WriteText(const std::string& text) {
    if (!HasBuffer()) return RC_NO_BUFFER;
    if (!Fits(text.size())) return RC_OUT_OF_RANGE;
    Store(text);
    return RC_OK;
  }
  ResultCode PadToColumn(int32_t column) {
    if (!HasBuffer()) return RC_NO_BUFFER;
    if (column < 0) return RC_OUT_OF_RANGE;
    const int64_t shift = int64_t{column} - Column();
    if (shift > 0 && !Fits(static_cast<uint64_t>(shift))) return RC_OUT_OF_RANGE;
    if (shift > 0) Store(std::string(static_cast<size_t>(shift), ' '));
    if (shift < 0) position = static_cast<uint32_t>(position + shift);
    return RC_OK;
  }
  // The line, or none for a null result.
  std::optional<std::string> ReadLine(bool nullDestination, int32_t maximum) {
    if (!HasBuffer() || nullDestination) return std::nullopt;
    std::string line;
    while (static_cast<int32_t>(line.size()) < maximum && position < Capacity()) {
      if (bytes[position] == kCr) {
        position = std::min(position + 2, Capacity());
        break;
      }
      line += static_cast<char>(bytes[position++]);
    }
    return line;
  }
  int32_t LineCount() const {
    if (!HasBuffer()) return RC_NO_BUFFER;
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
    if (!HasBuffer()) return RC_NO_BUFFER;
    for (uint32_t i = position; i > 0; --i)
      if (bytes[i - 1] == kLf) return static_cast<int32_t>(position - i);
    return static_cast<int32_t>(position);
  }
};

enum class Op {
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

// A TextFile: its MemFile operations are MemFile's after forgetting the line count.
class Session {
 public:
  explicit Session(FuzzedDataProvider& in) : in_(in) {}

  void Step(int step) {
    const auto op =
        static_cast<Op>(in_.ConsumeIntegralInRange<int>(0, static_cast<int>(Op::kCount) - 1));
    heapFails_ = in_.ConsumeIntegralInRange<int>(0, 7) == 0;
    subst::ClearFaults();
    if (heapFails_) subst::FailCallsFrom(subst::Fault::kHeapAlloc);
    where_ = "step " + std::to_string(step) + " op " + std::to_string(static_cast<int>(op)) +
             (heapFails_ ? " without heap" : "");
    Run(op, *file_);
    subst::ClearFaults();
    Check();
  }

  void Finish() {
    file_.reset();
    FUZZ_EXPECT_EQ(subst::OpenFileHandles(), 0, "handles left open");
  }

 private:
  int32_t Offset() {
    return in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-4, 72)
                             : in_.ConsumeIntegral<int32_t>();
  }
  uint32_t SmallCapacity() {
    return in_.ConsumeBool() ? m_.Capacity() : in_.ConsumeIntegralInRange<uint32_t>(0, 64);
  }
  int Name() { return in_.ConsumeIntegralInRange<int>(0, kNames - 1); }
  uint32_t Length() { return in_.ConsumeBool() ? 0 : in_.ConsumeIntegralInRange<uint32_t>(0, 80); }
  bool Null() { return in_.ConsumeIntegralInRange<int>(0, 9) == 0; }
  void Expect(ResultCode got, ResultCode expected) { FUZZ_EXPECT_EQ(got, expected, where_); }
  // The bytes of a block the library has just made are its own.
  void AdoptFreshBlock(bool fresh, size_t from = 0) {
    if (fresh && file_->GetBuffer() && file_->GetCapacity() == m_.Capacity()) {
      std::copy(file_->GetBuffer() + from, file_->GetBuffer() + m_.Capacity(),
                m_.bytes.begin() + static_cast<std::ptrdiff_t>(from));
    }
  }

  void Run(Op op, TextFile& t) {
    switch (op) {
      case Op::kAllocate: {
        const uint32_t capacity = SmallCapacity();
        Expect(t.Allocate(capacity), RC_OK);
        AdoptFreshBlock(m_.Allocate(capacity, heapFails_));
        break;
      }
      case Op::kFree:
        Expect(t.Free(), RC_OK);
        m_.Allocate(0, false);
        break;
      case Op::kFill: {
        const auto value = in_.ConsumeIntegral<int32_t>();
        Expect(t.Fill(value), m_.Fill(value));
        break;
      }
      case Op::kSeek: {
        const int32_t offset = Offset();
        Expect(t.Seek(offset), m_.Seek(offset));
        break;
      }
      case Op::kSeekEnd: Expect(t.SeekEnd(), m_.Seek(int64_t{m_.Capacity()} - 1)); break;
      case Op::kMove: {
        const int32_t delta = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-80, 80)
                                                : in_.ConsumeIntegral<int32_t>();
        Expect(t.Move(delta), m_.Move(delta));
        break;
      }
      case Op::kWriteBytes: {
        const std::string data = in_.ConsumeRandomLengthString(80);
        const bool null = Null();
        const auto count = static_cast<uint32_t>(data.size());
        uint32_t moved = 0xDEAD;
        const bool withMoved = in_.ConsumeBool();
        const ResultCode expected = m_.CopyChecks(null, count);
        Expect(t.WriteBytes(null ? nullptr : data.data(), count, withMoved ? &moved : nullptr),
               expected);
        if (expected != RC_OK) break;
        const uint32_t fitting = m_.Fitting(count);
        m_.Store(data.substr(0, fitting));
        if (withMoved) FUZZ_EXPECT_EQ(moved, fitting, where_);
        break;
      }
      case Op::kReadBytes: {
        const bool null = Null();
        const uint32_t count = in_.ConsumeIntegralInRange<uint32_t>(0, 80);
        std::vector<char> buffer(count + 1);
        uint32_t moved = 0xDEAD;
        const ResultCode expected = m_.CopyChecks(null, count);
        Expect(t.ReadBytes(null ? nullptr : buffer.data(), count, &moved), expected);
        if (expected != RC_OK) break;
        const uint32_t fitting = m_.Fitting(count);
        FUZZ_EXPECT_EQ(moved, fitting, where_);
        FUZZ_CHECK(std::memcmp(buffer.data(), m_.bytes.data() + m_.position, fitting) == 0,
                   where_ + ": bytes copied");
        m_.position += fitting;
        break;
      }
      case Op::kSave: {
        const int name = Name();
        const uint32_t length = Length();
        Expect(t.Save(PathOf(name).c_str(), length), m_.Save(name, length));
        break;
      }
      case Op::kLoad: {
        const int name = Name();
        const uint32_t length = Length();
        Load(t.Load(PathOf(name).c_str(), length), name, length);
        break;
      }
      case Op::kCountLines: t.CountLines(); break;
      case Op::kAllocateZeroed: {
        const uint32_t capacity = SmallCapacity();
        m_.Allocate(capacity, heapFails_);
        Expect(t.AllocateZeroed(capacity), m_.Fill(0));
        break;
      }
      case Op::kSaveText: {
        const int name = Name();
        Expect(t.SaveText(PathOf(name).c_str()), m_.Save(name, m_.position));
        break;
      }
      case Op::kLoadText: {
        const int name = Name();
        Load(t.LoadText(PathOf(name).c_str()), name, 0);
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
        const char* argument = Null() ? nullptr : text.c_str();
        const bool line = op == Op::kWriteLine;
        const ResultCode got = line ? t.WriteLine(argument) : t.WriteString(argument);
        ResultCode expected = !m_.HasBuffer() ? RC_NO_BUFFER
                              : !argument     ? RC_NULL_ARGUMENT
                                              : m_.WriteText(text.c_str());
        if (expected == RC_OK && line) expected = m_.WriteText("\r\n");
        Expect(got, expected);
        break;
      }
      case Op::kWriteEmptyLines: {
        const int32_t count = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<int32_t>(-2, 30)
                                                : in_.ConsumeIntegral<int32_t>();
        // More lines than the capacity has bytes never fit.
        const bool tooMany = int64_t{count} > m_.Capacity();
        std::string lines;
        for (int32_t i = 0; !tooMany && i < count; ++i) lines += "\r\n";
        const ResultCode expected = !m_.HasBuffer() ? RC_NO_BUFFER
                                    : tooMany       ? RC_OUT_OF_RANGE
                                                    : m_.WriteText(lines);
        Expect(t.WriteEmptyLines(count), expected);
        break;
      }
      case Op::kPadToColumn: {
        const int32_t column = Offset();
        Expect(t.PadToColumn(column), m_.PadToColumn(column));
        break;
      }
      case Op::kReadLine: {
        const bool null = Null();
        const int32_t maximum = in_.ConsumeIntegralInRange<int32_t>(-2, 40);
        std::vector<char> line(static_cast<size_t>(std::max(maximum, 0)) + 1, 'x');
        const char* got = t.ReadLine(null ? nullptr : line.data(), maximum);
        const std::optional<std::string> expected = m_.ReadLine(null, maximum);
        FUZZ_CHECK((got != nullptr) == expected.has_value(), where_);
        // The line may hold NUL bytes of the buffer: compare them all.
        FUZZ_CHECK(!got || (got == line.data() &&
                            std::memcmp(got, expected->data(), expected->size()) == 0 &&
                            got[expected->size()] == '\0'),
                   where_ + ": line read");
        break;
      }
      default: break;
    }
  }

  void Load(ResultCode got, int name, uint32_t length) {
    const uint32_t before = m_.Capacity();
    Expect(got, m_.Load(name, length, heapFails_));
    if (got != RC_OK) return;
    // A new block holds whatever it held past the bytes loaded into it.
    const size_t loaded = std::min<size_t>(m_.files.at(name).size(), m_.Capacity());
    AdoptFreshBlock(before != m_.Capacity(), loaded);
  }

  void Check() {
    TextFile& t = *file_;
    FUZZ_CHECK((t.GetBuffer() != nullptr) == m_.HasBuffer(), where_);
    FUZZ_EXPECT_EQ(t.GetCapacity(), m_.Capacity(), where_);
    FUZZ_EXPECT_EQ(t.GetPosition(), m_.position, where_);
    FUZZ_CHECK(!m_.HasBuffer() || std::memcmp(t.GetBuffer(), m_.bytes.data(), m_.Capacity()) == 0,
               where_ + ": buffer bytes");
    FUZZ_EXPECT_EQ(t.GetColumn(), m_.Column(), where_);
    FUZZ_EXPECT_EQ(t.GetLineCount(), m_.LineCount(), where_ + ": line counter");
    FUZZ_EXPECT_EQ(subst::OpenFileHandles(), 0, where_);
    for (int name = 0; name < kNames; ++name) {
      const auto it = m_.files.find(name);
      const std::optional<std::string> onDisk = ReadDisk(name);
      FUZZ_CHECK(onDisk.has_value() == (it != m_.files.end()), where_ + ": file exists");
      FUZZ_CHECK(!onDisk || *onDisk == it->second, where_ + ": file " + std::to_string(name));
    }
  }

  FuzzedDataProvider& in_;
  std::unique_ptr<TextFile> file_ = std::make_unique<TextFile>();
  Model m_;
  bool heapFails_ = false;
  std::string where_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (int name = 0; name < kNames; ++name) std::filesystem::remove(PathOf(name));
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  Session session(in);
  for (int step = 0; in.remaining_bytes() > 0 && step < 200; ++step) session.Step(step);
  session.Finish();
  return 0;
}
