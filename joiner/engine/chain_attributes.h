// The chain attributes taken from a chain's first element, and the join
// test that compares every candidate with them.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

// Fills run.chain (and the level and symbology of run.cfg whose codes ask
// for it) from the element in run.element.
void capture_chain_attributes(JoinRun& run);

// The candidate's own values, read before it is tested.
struct CandidateValues {
  std::int32_t low_z = 0;
  std::int32_t high_z = 0;
  std::string attribute_value;
  LinkageSet compare_links;
};
void read_candidate_values(JoinRun& run, CandidateValues& values);

// 1 when the candidate in run.element may join the chain. Without
// `with_linkages` the linkage comparison is left out.
int join_test(JoinRun& run, const CandidateValues& candidate, bool with_linkages = true);

// Reads one column of a database row; on failure prints the three error
// lines and returns false.
bool read_field(JoinRun& run, std::int16_t entity, std::int32_t mslink, std::int16_t column,
                std::string& value);

// Adds the linkages of a taken element to the output linkage set.
void merge_linkages(JoinRun& run);

}  // namespace vornel::joiner
