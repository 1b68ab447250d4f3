#pragma once
// What every fuzz target shares: a scratch folder, the fault hooks, and the way a finding is
// reported.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "subst/fault_hooks.h"

// A folder of this process under the temporary folder, made on first use, removed at exit.
const std::string& ScratchFolder();

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
