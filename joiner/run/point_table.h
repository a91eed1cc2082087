// The point table: every record of the sorted point list in memory, in file
// order, so coincident end points are neighbours. Allocated once at its final
// size; the walk only ever negates offsets.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace vornel::joiner {

class PointTable {
 public:
  // Sizes the arrays for `maxverts` records (zero-filled). Throws
  // std::bad_alloc when memory runs out.
  void allocate(int dimen, std::int32_t maxverts, bool with_node_links);
  void release();

  enum class LoadResult { loaded, cannot_open, too_short };
  // Fills the table from the sorted point list, printing the progress
  // lines; on too_short, `failed_index` names the record that was missing.
  LoadResult load(const std::string& path, std::ostream& out, std::int64_t& failed_index);

  // Adds one record (tests and loading).
  void push(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t offset,
            std::int32_t node_link = 0);

  int dimen() const { return dimen_; }
  std::int32_t count() const { return count_; }
  std::int32_t editable() const { return editable_; }
  std::int32_t progress_step() const { return count_ / 10 < 1 ? 1 : count_ / 10; }
  bool has_node_links() const { return !node_mslink_.empty(); }

  const std::int32_t* point(std::int32_t i) const { return xyz_.data() + static_cast<std::size_t>(i) * dimen_; }
  std::int32_t& offset(std::int32_t i) { return offset_[static_cast<std::size_t>(i)]; }
  std::int32_t offset(std::int32_t i) const { return offset_[static_cast<std::size_t>(i)]; }
  std::int32_t node_link(std::int32_t i) const { return node_mslink_[static_cast<std::size_t>(i)]; }

  // Whether records a and b lie at the same place (X, Y, and Z in 3-D).
  bool same_place(std::int32_t a, std::int32_t b) const;
  bool at(std::int32_t i, const std::int32_t* p) const;

 private:
  int dimen_ = 2;
  std::int32_t capacity_ = 0;
  std::int32_t count_ = 0;
  std::int32_t editable_ = 0;
  std::vector<std::int32_t> xyz_;
  std::vector<std::int32_t> offset_;
  std::vector<std::int32_t> node_mslink_;
};

// A node: a maximal run of records at one place.
struct Node {
  std::int32_t first = 0;
  std::int32_t size = 0;           // n
  std::int32_t supplementary = 0;  // k: records whose offset is -1
};

// The node that starts at record `first`.
Node form_node(const PointTable& table, std::int32_t first);

// First and last index of the node that holds record i.
std::pair<std::int32_t, std::int32_t> node_bounds(const PointTable& table, std::int32_t i);

// The record at `point` whose |offset| is `position`, found by bisection on
// (Y, X, [Z], |offset|) with at most 100 probes; -1 when not found.
std::int32_t find_end_record(const PointTable& table, const std::int32_t* point,
                             std::int32_t position);

// A record exactly at X, Y (bisection on Y, then X, at most 25 probes); -1
// when none.
std::int32_t find_point_record(const PointTable& table, std::int32_t x, std::int32_t y);

}  // namespace vornel::joiner
