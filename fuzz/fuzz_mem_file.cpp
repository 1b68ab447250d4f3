// TextFile, and MemFile beneath it, under random operations with the heap failing now and then.
// After each: the position lies within the buffer; a write stored a prefix of what it was given
// at the old position (as much as fitted, for bytes) and nothing else, a text write never in the
// capacity's last byte; the line counter and the column agree with a count over the bytes.
#include <algorithm>
#include <cstring>

#include "file/text_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  TextFile t;
  std::string mirror;  // the buffer's bytes as the operations were asked to leave them
  for (int step = 0; in.remaining_bytes() > 0 && step < 200; ++step) {
    const int op = in.ConsumeIntegralInRange(0, 9);
    const int32_t n =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(-4, 72) : in.ConsumeIntegral<int32_t>();
    const std::string text = in.ConsumeRandomLengthString(80);
    const auto count = static_cast<uint32_t>(text.size());
    if (in.ConsumeIntegralInRange(0, 7) == 0) subst::FailCallsFrom(subst::Fault::kHeapAlloc);
    const uint32_t before = t.GetPosition();
    std::string asked;  // what a write was given to store at the position
    char line[64];
    uint32_t moved = 0;
    ResultCode rc = RC_OK;
    switch (op) {
      case 0: t.AllocateZeroed(n & 63); mirror.assign(t.GetCapacity(), '\0'); break;
      case 1: rc = t.Seek(n); break;
      case 2: rc = t.Move(n); break;
      case 3: rc = t.WriteBytes(text.data(), count, &moved); asked = text; break;
      case 4: rc = t.WriteString(text.c_str()); asked = text.c_str(); break;
      case 5: rc = t.WriteLine(text.c_str()); asked = text.c_str() + std::string("\r\n"); break;
      case 6:
        rc = t.WriteEmptyLines(n);
        for (int32_t i = 0; i < std::min(n, 32); ++i) asked += "\r\n";
        break;
      case 7: rc = t.PadToColumn(n); asked.assign(64, ' '); break;
      case 8: rc = t.ReadLine(line, n & 63) ? RC_OK : RC_NO_BUFFER; break;
      default: rc = t.Fill(n); mirror.assign(mirror.size(), static_cast<char>(n));
    }
    subst::ClearFaults();
    const uint32_t pos = t.GetPosition(), cap = t.GetCapacity();
    const std::string where = "step " + std::to_string(step) + " op " + std::to_string(op);
    FUZZ_CHECK(pos <= cap && mirror.size() == cap && !t.GetBuffer() == !cap, where);
    FUZZ_CHECK(cap || op == 0 || rc == RC_NO_BUFFER, where);
    if (op == 3 && rc == RC_OK) FUZZ_EXPECT_EQ(moved, std::min(count, cap - before), where);
    if (!asked.empty() && pos > before) {
      FUZZ_CHECK(pos - before <= asked.size() && (op == 3 || pos < cap), where);
      mirror.replace(before, pos - before, asked, 0, pos - before);
    }
    FUZZ_CHECK(!cap || std::memcmp(t.GetBuffer(), mirror.data(), cap) == 0, where);
    if (!cap) continue;
    int32_t lines = 0;
    for (uint32_t i = 0; i < pos; i += mirror[i] == '\r' ? 2 : 1) lines += mirror[i] == '\r';
    const size_t lineStart = pos ? mirror.rfind('\n', pos - 1) + 1 : 0;  // npos + 1: 0
    FUZZ_EXPECT_EQ(t.GetLineCount(), lines, where);
    FUZZ_EXPECT_EQ(t.GetColumn(), op == 7 && rc == RC_OK ? n : int32_t(pos - lineStart), where);
  }
  return 0;
}
