#include "extractors/common/weight_table.h"

#include <cstddef>

#include "extractors/common/number_list.h"

namespace vornel::extract {
namespace {

struct Pair {
  int index = 0;
  int weight = 0;
};

// "%d,%d": a missing second number leaves the weight 0.
Pair read_pair(std::string_view text) {
  Pair pair;
  pair.index = leading_int(text);
  const std::size_t comma = text.find(',');
  if (comma != std::string_view::npos) pair.weight = leading_int(text.substr(comma + 1));
  if (pair.weight > 254) pair.weight = 255;
  return pair;
}

template <std::size_t N>
bool in_table(const std::array<int, N>&, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < N;
}

// Index 0 numbers every entry with its own index and sets the multiplier to
// the weight; any other index sets that entry, with multiplier 1.
template <std::size_t N>
void set_numbered(std::array<int, N>& table, int& multiplier, const Pair& pair) {
  if (pair.index == 0) {
    for (std::size_t i = 0; i < N; ++i) table[i] = static_cast<int>(i);
    multiplier = pair.weight;
  } else if (in_table(table, pair.index)) {
    table[static_cast<std::size_t>(pair.index)] = pair.weight;
    multiplier = 1;
  }
}

}  // namespace

void WeightTable::set_level_weight(std::string_view text) {
  const Pair pair = read_pair(text);
  if (in_table(level_, pair.index)) level_[static_cast<std::size_t>(pair.index)] = pair.weight;
  level_multiplier_ = 1;
  option_ = WeightOption::level;
}

void WeightTable::set_type_weight(std::string_view text) {
  set_numbered(type_, type_multiplier_, read_pair(text));
  option_ = WeightOption::type;
}

void WeightTable::set_color_weight(std::string_view text) {
  set_numbered(color_, color_multiplier_, read_pair(text));
  option_ = WeightOption::color;
}

bool WeightTable::is_weight_option(std::string_view option) {
  return option == "-wl" || option == "-wt" || option == "-wo";
}

void WeightTable::apply(std::string_view option, std::string_view pair) {
  if (option == "-wl") set_level_weight(pair);
  if (option == "-wt") set_type_weight(pair);
  if (option == "-wo") set_color_weight(pair);
}

int WeightTable::weight_of(int type, int color, int level) const {
  int weight = 0;
  if (in_table(type_, type)) weight += type_[static_cast<std::size_t>(type)] * type_multiplier_;
  if (in_table(color_, color)) weight += color_[static_cast<std::size_t>(color)] * color_multiplier_;
  if (in_table(level_, level)) weight += level_[static_cast<std::size_t>(level)] * level_multiplier_;
  return weight;
}

}  // namespace vornel::extract
