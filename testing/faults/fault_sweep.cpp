#include "faults/fault_sweep.h"

#include <gtest/gtest.h>

#include <string>

void SweepFaults(const std::vector<subst::Fault>& kinds,
                 const std::function<void(const FaultCase&)>& scenario) {
  subst::ClearFaults();
  scenario(FaultCase{});  // the one run without a trace
  std::vector<int32_t> calls;
  for (subst::Fault kind : kinds) calls.push_back(subst::CallsOf(kind));
  for (size_t k = 0; k < kinds.size(); ++k) {
    const std::string name = subst::FaultName(kinds[k]);
    EXPECT_GT(calls[k], 0) << "the scenario makes no " << name << " call";
    for (int32_t run = 0; run < 2 * calls[k]; ++run) {  // each call alone, then from it on
      const FaultCase fault{kinds[k], run / 2 + 1, run % 2 == 1};
      SCOPED_TRACE((fault.andLater ? "every " : "") + name + " call from number " +
                   std::to_string(fault.nth) + " failing");
      subst::FaultScope scope;
      (fault.andLater ? subst::FailCallsFrom : subst::FailCall)(kinds[k], fault.nth);
      scenario(fault);
    }
  }
}
