// The linework toolkit's pure operations, in one include.
#pragma once

#include "toolkit/centroid/xycord_in.h"
#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/intersect.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/linkage/attr_link_check.h"
#include "toolkit/linkage/get_mslink.h"
#include "toolkit/linkage/reset_linkage.h"
#include "toolkit/linkage/set_info.h"
#include "toolkit/slopebreak/slope_break.h"
#include "toolkit/weed/raster_weed.h"
#include "toolkit/weed/weed_data.h"
