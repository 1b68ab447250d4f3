#pragma once
// Runs one scenario again and again, each time with another platform call failing.
#include <functional>
#include <optional>
#include <vector>

#include "subst/fault_hooks.h"

struct FaultCase {
  std::optional<subst::Fault> kind;  // none: the clean run
  int32_t nth = 0;                   // the first call of kind that fails
  bool andLater = false;             // every later call of kind fails too

  bool Fails(subst::Fault k) const { return kind == k; }
};

// Runs `scenario` once without faults to count the calls of every kind listed, then once for
// each of those calls with that call failing, and once with it and every later call of its
// kind failing. Each run starts with no fault planned; each but the clean one is traced with
// its case.
// A listed kind that the clean run never calls is a test failure: the sweep would miss it.
void SweepFaults(const std::vector<subst::Fault>& kinds,
                 const std::function<void(const FaultCase&)>& scenario);
