// Random drawing cases from the input, on the kernel path it names, against the reference model
// of the gfx tests: results and every pixel word, row padding included.
#include "fuzz_support.h"
#include "gfx/kernel_path.h"
#include "reference/draw_call.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CaseBits bits = [&in] { return in.ConsumeIntegral<uint32_t>(); };
  const auto path = static_cast<KernelPath>(Range(bits, 0, static_cast<int32_t>(BestKernelPath())));
  FUZZ_EXPECT_EQ(ForceKernelPath(path), RC_OK, "a path this CPU runs");
  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
    const std::string problem = RunRandomCase(bits);
    FUZZ_CHECK(problem.empty(), problem);
  }
  return 0;
}
