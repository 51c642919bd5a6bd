#pragma once

#include <optional>
#include <string>

#include "core/platform/Random.h"

namespace pelliwig::PhotoPicker {

// The path of one picture (jpg, jpeg, png, heic or webp, in any letter case)
// chosen at random among the folder's direct entries; nothing without a
// folder, for an unreadable folder or one without pictures.
std::optional<std::string> random(const std::optional<std::string>& folder, Random& random);

}  // namespace pelliwig::PhotoPicker
