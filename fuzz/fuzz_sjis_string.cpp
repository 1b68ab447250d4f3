// SjisString on arbitrary bytes, with allocations failing now and then: it holds the bytes
// assigned (also from its own block) or a block of zeros, and CharKind and the count agree with
// one walk over the character boundaries.
#include <algorithm>

#include "file/sjis_string.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using S = SjisString;
  FuzzedDataProvider in(data, size);
  subst::FaultScope faults;
  S s;
  std::string text;  // what it holds while its blocks can be had
  while (in.remaining_bytes() > 0) {
    if (in.ConsumeIntegralInRange(0, 15) == 0) subst::FailCall(subst::Fault::kGlobalAlloc);
    const std::string bytes = in.ConsumeRandomLengthString(300);
    const int32_t n = in.ConsumeIntegralInRange<int32_t>(-1, 300);
    const char* own = s.GetText() ? s.GetText() + std::min(n & 0xFF, s.GetLength()) : nullptr;
    const char* source = own && in.ConsumeBool() ? own : bytes.c_str();
    if (in.ConsumeBool()) {
      text = source;  // before the block it may lie in goes
      s = source;
    } else if (s.AllocBlock(n)) {
      text.assign(n, '\0');
    }
    subst::ClearFaults();
    const char* t = s.GetText();
    FUZZ_CHECK(t ? text == std::string(t, s.GetLength()) : s.GetLength() == 0, "bytes");
    int32_t chars = 0;
    for (int32_t i = 0; i < s.GetLength() && t[i]; ++i, ++chars) {
      const auto b = static_cast<uint8_t>(t[i]);
      const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
      FUZZ_EXPECT_EQ(s.CharKind(i), lead ? S::kLeadByte : S::kSingleByte, std::to_string(i));
      if (lead && ++i < s.GetLength()) FUZZ_EXPECT_EQ(s.CharKind(i), S::kTrailByte, "trail");
    }
    if (t && !t[0] && s.GetLength() > 0) FUZZ_EXPECT_EQ(s.CharKind(s.GetLength() - 1), S::kNul, "");
    FUZZ_EXPECT_EQ(s.GetCharCount(), chars, "count");
    FUZZ_CHECK(s.CharKind(-1) == S::kOutside && s.CharKind(s.GetLength()) == S::kOutside, "");
  }
  return 0;
}
