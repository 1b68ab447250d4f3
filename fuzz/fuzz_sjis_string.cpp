// SjisString under random sequences of its operations on arbitrary bytes, with allocations
// failing now and then, checked after every step against a plain model: the block's bytes,
// length, character count, and CharKind at every index in and around the string.
#include <cstring>
#include <optional>
#include <vector>

#include "file/sjis_string.h"
#include "fuzz_support.h"
#include "subst/fault_hooks.h"

namespace {

bool IsLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

struct Model {
  std::optional<std::vector<uint8_t>> block;  // length + 1 bytes; none after a failed allocation
  int32_t length = 0;
  int32_t charCount = 0;

  void Release() {
    block.reset();
    length = charCount = 0;
  }
  // A fresh zero block of n + 1 bytes, or none when the allocation fails.
  bool Allocate(int32_t n, bool fails) {
    Release();
    if (fails) return false;
    block.emplace(static_cast<size_t>(n) + 1, 0);
    length = n;
    return true;
  }
  void Recount() {
    if (!block) return;
    length = static_cast<int32_t>(std::strlen(reinterpret_cast<const char*>(block->data())));
    charCount = 0;
    for (int32_t p = 0; p < length; p += IsLead((*block)[static_cast<size_t>(p)]) ? 2 : 1)
      ++charCount;
  }
  // Kinds of every index 0..length-1 in one forward walk over the character boundaries.
  std::vector<uint8_t> Kinds() const {
    std::vector<uint8_t> kinds(static_cast<size_t>(length), SjisString::kOutside);
    for (int32_t i = 0; i < length;) {
      const uint8_t b = (*block)[static_cast<size_t>(i)];
      if (IsLead(b)) {
        kinds[static_cast<size_t>(i)] = SjisString::kLeadByte;
        if (i + 1 < length) kinds[static_cast<size_t>(i + 1)] = SjisString::kTrailByte;
        i += 2;
      } else if (b == 0) {
        // A NUL on a boundary answers every index from there on.
        for (int32_t j = i; j < length; ++j) kinds[static_cast<size_t>(j)] = SjisString::kNul;
        break;
      } else {
        kinds[static_cast<size_t>(i++)] = SjisString::kSingleByte;
      }
    }
    return kinds;
  }
};

void Check(const SjisString& s, const Model& m, int step) {
  const std::string where = "step " + std::to_string(step);
  FUZZ_CHECK((s.GetText() != nullptr) == m.block.has_value(), where);
  FUZZ_EXPECT_EQ(s.GetLength(), m.length, where);
  FUZZ_EXPECT_EQ(s.GetCharCount(), m.charCount, where);
  FUZZ_EXPECT_EQ(s.IsEmpty(), m.length <= 0 ? 1 : 0, where);
  if (m.block) {
    FUZZ_CHECK(std::memcmp(s.GetText(), m.block->data(), m.block->size()) == 0,
               where + ": block bytes");
  }
  const std::vector<uint8_t> kinds = m.Kinds();
  for (int32_t i = -2; i < m.length + 2; ++i) {
    const bool inside = i >= 0 && i < m.length && m.length > 0;
    const uint8_t expected = inside ? kinds[static_cast<size_t>(i)] : SjisString::kOutside;
    FUZZ_EXPECT_EQ(s.CharKind(i), expected, where + " index " + std::to_string(i));
  }
  FUZZ_EXPECT_EQ(s.CharKind(INT32_MIN), SjisString::kOutside, where);
  FUZZ_EXPECT_EQ(s.CharKind(INT32_MAX), SjisString::kOutside, where);
}

enum class Op {
  kAssign,
  kAssignNull,
  kAssignOwn,
  kOperatorAssign,
  kAllocBlock,
  kClear,
  kRelease,
  kRecount,
  kCount
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  // Failing the constructor's own block is one of the cases.
  const bool constructorFails = in.ConsumeBool() && in.ConsumeBool();
  if (constructorFails) subst::FailCall(subst::Fault::kGlobalAlloc);
  SjisString s;
  Model m;
  m.Allocate(1, constructorFails);
  m.length = 0;  // the constructor's block is two zero bytes for an empty string

  for (int step = 0; in.remaining_bytes() > 0 && step < 64; ++step) {
    const auto op =
        static_cast<Op>(in.ConsumeIntegralInRange<int>(0, static_cast<int>(Op::kCount) - 1));
    const bool fails = in.ConsumeIntegralInRange<int>(0, 15) == 0;
    subst::ClearFaults();
    if (fails) subst::FailCall(subst::Fault::kGlobalAlloc);
    switch (op) {
      case Op::kAssign:
      case Op::kOperatorAssign: {
        const std::string bytes = in.ConsumeRandomLengthString(300);
        if (op == Op::kAssign)
          s.Assign(bytes.c_str());
        else
          s = bytes.c_str();
        const auto n = static_cast<int32_t>(std::strlen(bytes.c_str()));
        if (m.Allocate(n, fails))
          std::memcpy(m.block->data(), bytes.c_str(), static_cast<size_t>(n));
        m.Recount();
        break;
      }
      case Op::kAssignNull:
        s.Assign(nullptr);
        m.Allocate(0, fails);
        break;
      case Op::kAssignOwn: {
        // The source lies in this string's own block.
        if (!m.block) break;
        const auto offset = in.ConsumeIntegralInRange<int32_t>(0, m.length);
        s.Assign(s.GetText() + offset);
        const std::vector<uint8_t> old = *m.block;
        const auto n =
            static_cast<int32_t>(std::strlen(reinterpret_cast<const char*>(old.data()) + offset));
        if (m.Allocate(n, fails))
          std::memcpy(m.block->data(), old.data() + offset, static_cast<size_t>(n));
        m.Recount();
        break;
      }
      case Op::kAllocBlock: {
        const int32_t n = in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-3, 300)
                                           : in.ConsumeIntegral<int32_t>() | INT32_MIN;
        const int32_t result = s.AllocBlock(n);
        int32_t expected = 0;
        if (n >= 0) expected = m.Allocate(n, fails) ? 1 : 0;
        FUZZ_EXPECT_EQ(result, expected, "AllocBlock " + std::to_string(n));
        break;
      }
      case Op::kClear: FUZZ_EXPECT_EQ(s.Clear(), m.Allocate(0, fails) ? 1 : 0, "Clear"); break;
      case Op::kRelease:
        s.Release();
        m.Release();
        break;
      case Op::kRecount:
        s.Recount();
        m.Recount();
        break;
      case Op::kCount: break;
    }
    Check(s, m, step);
  }
  return 0;
}
