#include "session/DeviceModel.h"

#include <array>

namespace corvane {
namespace {

struct ModelRow {
  std::string_view name;
  std::string_view tag;
  ModelProperties properties;
};

// Indexed by model number.
constexpr std::array<ModelRow, 5> kModels = {{
    {"", "____", {2800, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
    {"Tonvex-SU", "_SU_", {2800, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
    {"Tonvex-One", "_ONE_", {32, 10, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1}},
    {"Tonvex-Mix", "_MIX_", {0, 1000, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}},
    {"Tonvex-V5", "_V5_", {16384, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
}};

bool IsKnown(std::int32_t model) { return model >= 1 && model <= 4; }

}  // namespace

const ModelProperties& PropertiesOf(std::int32_t model) {
  return kModels[IsKnown(model) ? static_cast<std::size_t>(model) : 1].properties;
}

std::optional<DeviceModel> ModelFromName(std::string_view name) {
  for (std::int32_t model = 1; model <= 4; ++model) {
    if (kModels[static_cast<std::size_t>(model)].name == name) return static_cast<DeviceModel>(model);
  }
  return std::nullopt;
}

std::string_view ModelTag(std::int32_t model) {
  return IsKnown(model) ? kModels[static_cast<std::size_t>(model)].tag : kModels[0].tag;
}

std::string_view ModelName(std::int32_t model) {
  return IsKnown(model) ? kModels[static_cast<std::size_t>(model)].name : std::string_view{};
}

}  // namespace corvane
