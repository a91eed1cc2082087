// The linework toolkit's pure operations, in one include.
#pragma once

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/intersect.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/weed/raster_weed.h"
#include "toolkit/weed/weed_data.h"
