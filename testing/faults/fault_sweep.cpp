#include "faults/fault_sweep.h"

#include <gtest/gtest.h>

#include <map>

std::string FaultCase::Describe() const {
  if (!kind) return "no fault";
  return std::string(andLater ? "every " : "") + subst::FaultName(*kind) + " call from number " +
         std::to_string(nth) + " failing";
}

void SweepFaults(const std::vector<subst::Fault>& kinds,
                 const std::function<void(const FaultCase&)>& scenario) {
  std::map<subst::Fault, int32_t> calls;
  {
    subst::FaultScope clean;
    SCOPED_TRACE("no fault");
    scenario(FaultCase{});
    for (subst::Fault kind : kinds) calls[kind] = subst::CallsOf(kind);
  }
  for (subst::Fault kind : kinds) {
    EXPECT_GT(calls[kind], 0) << "the scenario makes no " << subst::FaultName(kind) << " call";
    for (int32_t nth = 1; nth <= calls[kind]; ++nth) {
      for (bool andLater : {false, true}) {
        const FaultCase fault{kind, nth, andLater};
        SCOPED_TRACE(fault.Describe());
        subst::FaultScope scope;
        if (andLater)
          subst::FailCallsFrom(kind, nth);
        else
          subst::FailCall(kind, nth);
        scenario(fault);
      }
    }
  }
}
