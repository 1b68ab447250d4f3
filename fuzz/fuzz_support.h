#pragma once
// What every fuzz target shares: a scratch folder, and the way a finding is reported.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/subst/fault_hooks.h"

// A folder of this process under the temporary folder, made on first use, removed at exit.
const std::string& ScratchFolder();

// One platform call failing during one operation: the first call of the armed kind. The
// model asks Fails at each of its twins of the platform calls, in the order the code makes them.
class FaultPlan {
 public:
  void Arm(std::optional<subst::Fault> kind) {
    armed_ = kind;
    subst::ClearFaults();
    if (kind) subst::FailCall(*kind);
  }
  bool Fails(subst::Fault kind) {
    if (armed_ != kind) return false;
    armed_.reset();
    return true;
  }
  // Arms one of the kinds, one time in oneIn as the input says; says which, for messages.
  template <size_t N>
  std::string ArmSometimes(FuzzedDataProvider& in, int oneIn, const subst::Fault (&kinds)[N]) {
    std::optional<subst::Fault> kind;
    if (in.ConsumeIntegralInRange<int>(0, oneIn - 1) == 0) kind = in.PickValueInArray(kinds);
    Arm(kind);
    return kind ? std::string(" failing ") + subst::FaultName(*kind) : std::string();
  }
  void Disarm() { Arm(std::nullopt); }

 private:
  std::optional<subst::Fault> armed_;
};

// Reports a finding and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Finding(const char* file, int line, const std::string& what);

#define FUZZ_CHECK(condition, what)                                                     \
  do {                                                                                  \
    if (!(condition)) Finding(__FILE__, __LINE__, #condition ": " + std::string(what)); \
  } while (false)

#define FUZZ_EXPECT_EQ(actual, expected, what)                                   \
  do {                                                                           \
    const auto a_ = (actual);                                                    \
    const auto e_ = (expected);                                                  \
    if (!(a_ == e_))                                                             \
      Finding(__FILE__, __LINE__,                                                \
              std::string(#actual " is ") + std::to_string(a_) + ", expected " + \
                  std::to_string(e_) + ": " + std::string(what));                \
  } while (false)
