#include "ops/staging_steps.h"

namespace ops {

namespace {

int32_t Call(const char* device, const StagingStep& step, const StagingValues& values) {
  if (step.textEntry != nullptr) {
    return (sdk::ApiTable.*step.textEntry)(device, values.texts[step.textIndex]);
  }
  return (sdk::ApiTable.*step.flagEntry)(device, step.givesSeconds ? values.seconds : 1);
}

}  // namespace

bool RunStagingSteps(const char* device, StagingSteps steps, const StagingValues& values,
                     uint32_t selection) {
  for (const StagingStep& step : steps) {
    if ((step.settings & selection) != 0 && Call(device, step, values) == 0) return false;
  }
  return true;
}

}  // namespace ops
