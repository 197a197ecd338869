#include "ops/staging_steps.h"

#include "app/device_list.h"

namespace {

int32_t Call(const StagingStep& step, const StagingValues& values) {
  if (step.textEntry != nullptr) {
    return (ApiTable.*step.textEntry)(currentDevice, values.texts[step.textIndex]);
  }
  return (ApiTable.*step.flagEntry)(currentDevice, step.givesSeconds ? values.seconds : 1);
}

}  // namespace

bool RunStagingSteps(StagingSteps steps, const StagingValues& values) {
  for (const StagingStep& step : steps) {
    if (Call(step, values) == 0) return false;
  }
  return true;
}
