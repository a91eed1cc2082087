// Zinger flags placed as small ellipses in the open design file.
#pragma once

#include "toolkit/weed/zinger_flag.h"

namespace vornel::toolkit {

// Places each flag as an ellipse through the design host: placement mode 2
// with no graphic group, class 0, style 2, weight 1, color 1, secondary axis
// three quarters of the primary, turned 45 degrees, no linkages. A
// three-dimensional design file gets the three-dimensional ellipse, centred at
// the vertex's elevation (0 for a two-dimensional vertex).
class DesignZingerFlags final : public ZingerFlagPlacer {
public:
    int16_t place_zinger_flag(std::span<const int32_t> centre, int16_t level, double flag_size) override;
};

}  // namespace vornel::toolkit
