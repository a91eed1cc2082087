// Node points, node rows and identifier transfer between lines and nodes.
#include "joiner/options/option_hooks.h"

namespace vornel::joiner {

void node_work(JoinRun&, const Node&) {}
void finish_nodes(JoinRun&) {}

}  // namespace vornel::joiner
