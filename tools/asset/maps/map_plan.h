// The plan of a map: the map seen from above as a picture (see map_plan.cpp for the drawing).
#pragma once

#include <array>
#include <cstdint>

#include "asset/images/image_write.h"
#include "world/map.h"

namespace tam::asset {

// The colour of each world texture's panels.
extern const std::array<std::array<uint8_t, 3>, 8> kPlanTextureColours;

// 1024 x 1024 pixels, four a map unit, map point (0, 0) at pixel (512, 512), y up.
Picture DrawMapPlan(const MapState& m);

}  // namespace tam::asset
