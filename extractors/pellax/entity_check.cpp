#include "extractors/pellax/entity_check.h"

#include "client/records/element_words.hpp"
#include "client/records/linkages.hpp"

namespace vornel::pellax {
namespace {

constexpr std::size_t kDatabaseLinkageWords = 4;

bool flag_of(const std::vector<std::uint8_t>& flags, std::uint16_t value) {
  return value < flags.size() && flags[value] != 0;
}

}  // namespace

bool entnum_check(std::span<const std::uint8_t> element, const std::vector<std::uint8_t>& flags,
                  int user_word) {
  const client::LinkageArea area = client::linkage_area(element);
  const std::uint8_t* e = element.data();
  // The word `index` of the linkage at `at`, when it lies inside the area.
  const auto word = [&](std::size_t at, std::size_t index, std::uint16_t& out) {
    if (at + 2 * index + 2 > area.end) return false;
    out = client::get_word(e, at + 2 * index);
    return true;
  };
  std::size_t at = area.first;
  while (at + 2 <= area.end) {
    const std::uint16_t header = client::get_word(e, at);
    std::uint16_t w = 0;
    if ((header & client::kUserDataLinkageBit) == 0) {
      if ((header & 0xFF) == 0 && word(at, 2, w) && flag_of(flags, w)) return true;
      at += 2 * kDatabaseLinkageWords;
      continue;
    }
    std::uint16_t user_id = 0;
    if (word(at, 2, user_id) && user_id == client::kDatabaseUserId) {
      if (word(at, 4, w) && flag_of(flags, w)) return true;
    } else if (user_word > 0 && word(at, static_cast<std::size_t>(user_word) + 2, w) &&
               flag_of(flags, w)) {
      return true;
    }
    at += 2 * (std::size_t{header & 0xFFU} + 1);
  }
  return false;
}

}  // namespace vornel::pellax
