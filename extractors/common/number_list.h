// Comma-separated number lists of the extractors' options: numbers and
// ranges of two numbers joined by a hyphen, in either order ("1-5,7", "9-3").
#pragma once

#include <functional>
#include <string_view>

namespace vornel::extract {

// Calls `take` once for every number the list names. Numbers are read as
// C atoi reads them (leading digits; none gives 0). A range is expanded
// only inside [low_limit, high_limit], so a wide range costs no more than
// the values the caller can use.
void for_each_listed(std::string_view list, int low_limit, int high_limit,
                     const std::function<void(int)>& take);

// C atoi on a string_view: optional blanks and sign, then digits; saturates
// instead of overflowing.
int leading_int(std::string_view text);

// C atof on a string_view.
double leading_double(std::string_view text);

}  // namespace vornel::extract
