// Text labels with a database value along pieces and at point elements.
#include "joiner/options/option_hooks.h"

namespace vornel::joiner {

void label_point_element(JoinRun&) {}
void capture_label_text(JoinRun&) {}
void label_piece(JoinRun&, std::int32_t, std::int32_t) {}

}  // namespace vornel::joiner
