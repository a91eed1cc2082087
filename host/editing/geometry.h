#pragma once
// Points in UOR and the range box that every element header carries, as the
// records library defines them.

#include "client/records/uor_box.hpp"

namespace vornel::host::editing {

using Point = client::UorPoint;
using Box = client::UorBox;

}  // namespace vornel::host::editing
