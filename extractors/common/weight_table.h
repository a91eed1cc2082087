// Weights that the weighted point records carry: per level, per element
// type and per color, each table with its multiplier.
#pragma once

#include <array>
#include <string_view>

namespace vornel::extract {

enum class WeightOption { none = 0, level = 1, type = 2, color = 3 };

class WeightTable {
 public:
  // The options take "index,weight" as C "%d,%d" reads it. Out-of-range
  // indexes are ignored; a weight above 254 is stored as 255.
  void set_level_weight(std::string_view pair);  // -wl: levels 0-63
  void set_type_weight(std::string_view pair);   // -wt: 0 numbers every type
  void set_color_weight(std::string_view pair);  // -wo: 0 numbers every color

  // Whether `option` is -wl, -wt or -wo, and applying one with its value.
  static bool is_weight_option(std::string_view option);
  void apply(std::string_view option, std::string_view pair);

  // The kind of the last weight option given.
  WeightOption option() const { return option_; }
  void clear_option() { option_ = WeightOption::none; }

  int weight_of(int type, int color, int level) const;

 private:
  std::array<int, 64> level_{};
  std::array<int, 32> type_{};
  std::array<int, 256> color_{};
  int level_multiplier_ = 0;
  int type_multiplier_ = 0;
  int color_multiplier_ = 0;
  WeightOption option_ = WeightOption::none;
};

}  // namespace vornel::extract
