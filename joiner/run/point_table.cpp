#include "joiner/run/point_table.h"

#include <cstdlib>
#include <memory>
#include <optional>

#include "joiner/console_print.h"
#include "pointlist/point_list_file.h"

namespace vornel::joiner {

void PointTable::allocate(int dimen, std::int32_t maxverts, bool with_node_links) {
  dimen_ = dimen;
  capacity_ = maxverts < 0 ? 0 : maxverts;
  count_ = 0;
  editable_ = 0;
  const auto records = static_cast<std::size_t>(capacity_);
  xyz_.assign(records * static_cast<std::size_t>(dimen), 0);
  offset_.assign(records, 0);
  if (with_node_links) node_mslink_.assign(records, 0);
}

void PointTable::release() {
  std::vector<std::int32_t>().swap(xyz_);
  std::vector<std::int32_t>().swap(offset_);
  std::vector<std::int32_t>().swap(node_mslink_);
  capacity_ = 0;
}

void PointTable::push(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t offset,
                      std::int32_t node_link) {
  if (count_ >= capacity_) return;  // the table never grows past its allocation
  std::int32_t* p = xyz_.data() + static_cast<std::size_t>(count_) * dimen_;
  p[0] = x;
  p[1] = y;
  if (dimen_ == 3) p[2] = z;
  offset_[static_cast<std::size_t>(count_)] = offset;
  if (!node_mslink_.empty()) node_mslink_[static_cast<std::size_t>(count_)] = node_link;
  if (offset > 0) ++editable_;
  ++count_;
}

PointTable::LoadResult PointTable::load(const std::string& path, std::ostream& out,
                                        std::int64_t& failed_index) {
  print(out, "\nOpening %s\n", path.c_str());
  const pointlist::RecordLayout layout{
      dimen_, has_node_links() ? pointlist::RecordKind::node_link : pointlist::RecordKind::plain};
  std::optional<pointlist::PointListReader> reader;
  try {
    reader.emplace(path, layout);
  } catch (const pointlist::PointListError&) {
    return LoadResult::cannot_open;
  }
  pointlist::PointRecord record;
  while (count_ < capacity_) {
    bool got = false;
    try {
      got = reader->next(record);
    } catch (const pointlist::PointListError&) {
      break;  // text that is not a record ends the loading
    }
    if (!got) {
      failed_index = count_;
      return LoadResult::too_short;
    }
    push(record.x, record.y, record.z, record.position, record.node_link);
    const std::int32_t index = count_ - 1;
    if (index != 0 && index % 1000 == 0) print(out, "\nInput %6d point records", index);
  }
  print(out, "\nTotal number of point records input = %d\n", count_);
  return LoadResult::loaded;
}

bool PointTable::same_place(std::int32_t a, std::int32_t b) const {
  const std::int32_t* p = point(a);
  const std::int32_t* q = point(b);
  return p[0] == q[0] && p[1] == q[1] && (dimen_ == 2 || p[2] == q[2]);
}

bool PointTable::at(std::int32_t i, const std::int32_t* p) const {
  const std::int32_t* q = point(i);
  return p[0] == q[0] && p[1] == q[1] && (dimen_ == 2 || p[2] == q[2]);
}

Node form_node(const PointTable& table, std::int32_t first) {
  Node node{first, 1, table.offset(first) == -1 ? 1 : 0};
  while (first + node.size < table.count() && table.same_place(first, first + node.size)) {
    if (table.offset(first + node.size) == -1) ++node.supplementary;
    ++node.size;
  }
  return node;
}

std::pair<std::int32_t, std::int32_t> node_bounds(const PointTable& table, std::int32_t i) {
  std::int32_t s = i;
  std::int32_t e = i;
  while (s > 0 && table.same_place(s - 1, i)) --s;
  while (e + 1 < table.count() && table.same_place(e + 1, i)) ++e;
  return {s, e};
}

namespace {

// Compares record i with the wanted key: negative when the record sorts
// before it, 0 when equal.
int compare_key(const PointTable& table, std::int32_t i, const std::int32_t* p, std::int32_t position,
                bool with_offset) {
  const std::int32_t* q = table.point(i);
  if (q[1] != p[1]) return q[1] < p[1] ? -1 : 1;
  if (q[0] != p[0]) return q[0] < p[0] ? -1 : 1;
  if (table.dimen() == 3 && q[2] != p[2]) return q[2] < p[2] ? -1 : 1;
  if (!with_offset) return 0;
  const std::int32_t magnitude = std::abs(table.offset(i));
  if (magnitude != position) return magnitude < position ? -1 : 1;
  return 0;
}

std::int32_t bisect(const PointTable& table, const std::int32_t* p, std::int32_t position,
                    bool with_offset, int max_probes) {
  std::int32_t low = 0;
  std::int32_t high = table.count() - 1;
  for (int probe = 0; probe < max_probes && low <= high; ++probe) {
    const std::int32_t mid = low + (high - low) / 2;
    const int c = compare_key(table, mid, p, position, with_offset);
    if (c == 0) return mid;
    if (c < 0)
      low = mid + 1;
    else
      high = mid - 1;
  }
  return -1;
}

}  // namespace

std::int32_t find_end_record(const PointTable& table, const std::int32_t* point,
                             std::int32_t position) {
  return bisect(table, point, std::abs(position), true, 100);
}

std::int32_t find_point_record(const PointTable& table, std::int32_t x, std::int32_t y) {
  const std::int32_t p[3] = {x, y, 0};
  if (table.dimen() == 3) {
    // Any Z will do: search on Y and X only.
    std::int32_t low = 0, high = table.count() - 1;
    for (int probe = 0; probe < 25 && low <= high; ++probe) {
      const std::int32_t mid = low + (high - low) / 2;
      const std::int32_t* q = table.point(mid);
      if (q[1] == y && q[0] == x) return mid;
      if (q[1] < y || (q[1] == y && q[0] < x))
        low = mid + 1;
      else
        high = mid - 1;
    }
    return -1;
  }
  return bisect(table, p, 0, false, 25);
}

}  // namespace vornel::joiner
