// Planned failures of substitute calls, one plan per kind of call.
#include <cstdint>
#include <vector>

#include "fault_hooks.h"

namespace {

constexpr int32_t kKinds = static_cast<int32_t>(subst::Fault::kCount);

struct Plan {
  int32_t calls = 0;
  int32_t failAt = 0;  // 0: never
  bool andLater = false;
};

Plan plans[kKinds];

bool logging = false;

std::vector<subst::Fault>& Log() {
  static auto* log = new std::vector<subst::Fault>;
  return *log;
}

Plan& PlanOf(subst::Fault kind) { return plans[static_cast<int32_t>(kind)]; }

}  // namespace

namespace subst {

const char* FaultName(Fault kind) {
  static const char* const kNames[] = {
      "open",       "read",       "write",     "seek",    "size",          "close",
      "flush",      "attributes", "delete",    "move",    "create folder", "global alloc",
      "heap alloc", "get DC",     "memory DC", "section", "select object"};
  static_assert(sizeof(kNames) / sizeof(kNames[0]) == kKinds);
  const auto index = static_cast<int32_t>(kind);
  return index >= 0 && index < kKinds ? kNames[index] : "?";
}

void FailCall(Fault kind, int32_t nth) { PlanOf(kind) = Plan{0, nth, false}; }

void FailCallsFrom(Fault kind, int32_t nth) { PlanOf(kind) = Plan{0, nth, true}; }

int32_t CallsOf(Fault kind) { return PlanOf(kind).calls; }

void ClearFaults() {
  for (Plan& plan : plans) plan = Plan{};
}

bool FaultDue(Fault kind) {
  if (logging) Log().push_back(kind);
  Plan& plan = PlanOf(kind);
  if (plan.calls < INT32_MAX) ++plan.calls;
  if (plan.failAt <= 0) return false;
  return plan.andLater ? plan.calls >= plan.failAt : plan.calls == plan.failAt;
}

void LogCalls(bool on) {
  logging = on;
  Log().clear();
}

const std::vector<Fault>& CallLog() { return Log(); }

}  // namespace subst
