#include "client/records/convert_element.hpp"

#include <algorithm>
#include <array>

#include "client/records/body_layout.hpp"
#include "client/records/element_words.hpp"
#include "client/records/vax_double.hpp"

namespace vornel::client {
namespace {

// Bounds-checked word access: reads past `limit` give 0, writes past it are
// dropped, so a short or lying record never reaches outside its buffers.
class Source {
 public:
  Source(std::span<const std::uint8_t> bytes, std::size_t limit)
      : bytes_(bytes), limit_(std::min(limit, bytes.size())) {}
  std::uint16_t word(std::size_t offset) const {
    return offset + 2 <= limit_ ? get_word(bytes_.data(), offset) : 0;
  }
 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t limit_;
};

class Sink {
 public:
  Sink(std::span<std::uint8_t> bytes, std::size_t limit)
      : bytes_(bytes), limit_(std::min(limit, bytes.size())) {}
  void word(std::size_t offset, std::uint16_t value) {
    if (offset + 2 <= limit_) put_word(bytes_.data(), offset, value);
  }
  void zero_from(std::size_t offset) {
    if (offset < limit_) std::fill(bytes_.begin() + offset, bytes_.begin() + limit_, 0);
  }
 private:
  std::span<std::uint8_t> bytes_;
  std::size_t limit_;
};

enum class Direction { to_memory, to_file };

// Walks the layout over both forms. `file_record` is the byte size of the
// file-form record (cut to 1536); every segment stops at its end.
template <Direction D>
std::size_t walk(const BodyLayout& layout, const Source& in, Sink& out, std::size_t file_record,
                 Dimension dimension) {
  constexpr bool to_memory = D == Direction::to_memory;
  std::size_t file = 0;
  std::size_t memory = 0;
  std::size_t& src = to_memory ? file : memory;
  std::size_t& dst = to_memory ? memory : file;

  auto copy_words = [&](std::size_t bytes) {
    for (std::size_t k = 0; k + 1 < bytes && file < file_record; k += 2) {
      out.word(dst, in.word(src));
      src += 2;
      dst += 2;
    }
  };
  auto swap_longs = [&](std::size_t count) {
    for (std::size_t k = 0; k < count && file < file_record; ++k) {
      out.word(dst, in.word(src + 2));
      out.word(dst + 2, in.word(src));
      src += 4;
      dst += 4;
    }
  };
  auto convert_doubles = [&](std::size_t count) {
    for (std::size_t k = 0; k < count && file < file_record; ++k) {
      std::array<std::uint8_t, 8> value{};
      for (std::size_t w = 0; w < 4; ++w) put_word(value.data(), 2 * w, in.word(src + 2 * w));
      if constexpr (to_memory) {
        convert_double(value);
      } else {
        unconvert_double(value);
      }
      for (std::size_t w = 0; w < 4; ++w) out.word(dst + 2 * w, get_word(value.data(), 2 * w));
      src += 8;
      dst += 8;
    }
  };
  auto remaining_file = [&] { return file < file_record ? file_record - file : 0; };

  for (std::size_t i = 0; i < layout.segment_count && file < file_record; ++i) {
    const Segment& s = layout.segments[i];
    switch (s.kind) {
      case SegmentKind::copy: copy_words(s.count); break;
      case SegmentKind::zero:
        if constexpr (to_memory) {
          for (std::size_t k = 0; k < s.count; k += 2) out.word(memory + k, 0);
        }
        memory += s.count;
        break;
      case SegmentKind::longs: swap_longs(s.count); break;
      case SegmentKind::doubles: convert_doubles(s.count); break;
      case SegmentKind::vertices: {
        const std::uint16_t count = in.word(src);
        out.word(dst, count);
        if constexpr (to_memory) out.word(memory + 2, 0);
        file += 2;
        memory += 4;
        const std::size_t values = std::size_t{count} * static_cast<std::size_t>(dimension);
        swap_longs(std::min(values, remaining_file() / 4));
        break;
      }
      case SegmentKind::rest: copy_words(remaining_file()); break;
      case SegmentKind::rest_longs:
        swap_longs(remaining_file() / 4);
        copy_words(remaining_file());
        break;
    }
  }
  return memory;
}

std::uint16_t first_word_of(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 2) return get_word(bytes.data(), 0);
  return 0;
}

std::uint16_t words_to_follow_of(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 4) return get_word(bytes.data(), kWordsToFollowOffset);
  return 0;
}

}  // namespace

std::uint16_t memory_words_to_follow(std::uint16_t first_word, std::uint16_t file_words_to_follow,
                                     Dimension dimension) {
  return static_cast<std::uint16_t>(file_words_to_follow +
                                    body_layout(first_word, dimension).growth_words);
}

std::size_t file_to_memory(std::span<const std::uint8_t> file, std::span<std::uint8_t> memory,
                           Dimension dimension) {
  const std::uint16_t first = first_word_of(file);
  const std::uint16_t file_wtf = words_to_follow_of(file);
  const BodyLayout& layout = body_layout(first, dimension);
  const std::size_t file_record =
      std::min<std::size_t>((std::size_t{file_wtf} + 2) * 2, kMaxElementBytes);
  const std::uint16_t memory_wtf = static_cast<std::uint16_t>(file_wtf + layout.growth_words);
  const std::size_t memory_record = (std::size_t{memory_wtf} + 2) * 2;

  const Source in(file, file_record);
  Sink out(memory, memory_record);
  if (!layout.converted) {
    const std::size_t copied = std::min({file_record, file.size(), memory.size()});
    std::copy_n(file.begin(), copied, memory.begin());
    out.zero_from(copied);
    return memory_record;
  }
  const std::size_t written = walk<Direction::to_memory>(layout, in, out, file_record, dimension);
  out.zero_from(written);
  out.word(0, first);
  out.word(kWordsToFollowOffset, memory_wtf);
  if (layout.growth_words != 0) {
    out.word(kAttributeIndexOffset,
             static_cast<std::uint16_t>(in.word(kAttributeIndexOffset) + layout.growth_words));
  }
  return memory_record;
}

std::size_t memory_to_file(std::span<const std::uint8_t> memory, std::span<std::uint8_t> file,
                           Dimension dimension) {
  const std::uint16_t first = first_word_of(memory);
  const std::uint16_t memory_wtf = words_to_follow_of(memory);
  const BodyLayout& layout = body_layout(first, dimension);
  const std::uint16_t file_wtf = memory_wtf >= layout.growth_words
                                     ? static_cast<std::uint16_t>(memory_wtf - layout.growth_words)
                                     : 0;
  const std::size_t file_record_full = (std::size_t{file_wtf} + 2) * 2;
  const std::size_t file_record = std::min(file_record_full, kMaxElementBytes);
  const std::size_t memory_record = (std::size_t{memory_wtf} + 2) * 2;

  const Source in(memory, memory_record);
  Sink out(file, file_record);
  if (!layout.converted) {
    const std::size_t copied = std::min({file_record, memory.size(), file.size()});
    std::copy_n(memory.begin(), copied, file.begin());
    out.zero_from(copied);
    return file_record_full;
  }
  out.zero_from(0);
  walk<Direction::to_file>(layout, in, out, file_record, dimension);
  out.word(0, first);
  out.word(kWordsToFollowOffset, file_wtf);
  if (layout.growth_words != 0) {
    out.word(kAttributeIndexOffset,
             static_cast<std::uint16_t>(in.word(kAttributeIndexOffset) - layout.growth_words));
  }
  return file_record_full;
}

}  // namespace vornel::client
