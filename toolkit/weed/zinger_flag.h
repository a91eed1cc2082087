// Where the tolerance weeder sends the zinger flags it finds.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Places the small ellipse that marks a zinger (a place where a line doubles
// back). The design-file implementation lives beside the client library; the
// weeder only decides where flags go.
class ZingerFlagPlacer {
public:
    virtual ~ZingerFlagPlacer() = default;
    // centre holds x, y (and z for three-dimensional chains); returns the
    // placement status, 0 when the flag was placed.
    virtual int16_t place_zinger_flag(std::span<const int32_t> centre, int16_t level,
                                      double flag_size) = 0;
};

}  // namespace vornel::toolkit
