#include "client/reader/design_reader.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "client/reader/flush_hook.hpp"
#include "client/reader/read_only_file.hpp"
#include "client/reader/scan_window.hpp"
#include "client/reader/selection_record.hpp"
#include "client/records/convert_element.hpp"
#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "client/records/scan_format.hpp"

namespace vornel::client {
namespace {

constexpr std::size_t kOutputAreaWords = 776;
constexpr std::size_t kPositionRecordBytes = 8;
constexpr std::size_t kDirectReadBytes = 1600;
constexpr std::uint16_t kMinScanWordsToFollow = 16;
constexpr std::uint16_t kMaxScanWordsToFollow = 780;

struct ReaderState {
  ReadOnlyFile file;
  Dimension dimension = Dimension::two;
  SelectionRecord selection;
  bool direct = false;
  std::uint64_t position = 0;  // where the next scan or direct read starts
  // With complex handling: what happens to the components that follow the
  // last complex header the scan met.
  enum class Components { tested, delivered, skipped } components = Components::tested;
  ScanWindow window;
  // The delivered record: position record, then the memory-form element.
  std::array<std::uint8_t, kOutputAreaWords * 2> output{};
  std::array<std::uint8_t, kDirectReadBytes> direct_bytes{};
};

ReaderState& state() {
  static ReaderState reader;
  return reader;
}

std::int16_t store(std::int16_t* status, std::int16_t code) {
  if (status != nullptr) *status = code;
  return code;
}

std::uint64_t start_offset(const SelectionRecord& s) {
  return std::uint64_t{s.start_block} * 512 + s.start_byte;
}

void set_start(SelectionRecord& s, std::uint64_t offset) {
  s.start_block = static_cast<std::uint32_t>(offset / 512);
  s.start_byte = static_cast<std::uint16_t>(offset % 512);
}

std::int16_t open_design_file(ReaderState& r, const char* path) {
  r.file.close();
  r.window.invalidate();
  (void)run_host_flush_hook();
  const int error = r.file.open(path);
  if (error != 0) return static_cast<std::int16_t>(-error);
  std::array<std::uint8_t, 128> head{};
  const std::ptrdiff_t n = r.file.read_at(0, head);
  const std::uint16_t first = n >= 2 ? get_word(head.data(), 0) : 0;
  const std::uint16_t masked = first & 0xFF3F;
  if (n < static_cast<std::ptrdiff_t>(head.size()) || (masked != 0x0908 && masked != 0x0508)) {
    r.file.close();
    return kDfrsetNotDesignFile;
  }
  r.dimension = (first & 0x00C0) == 0x00C0 ? Dimension::three : Dimension::two;
  return 0;
}

// Element found by the scan, converted into the output area.
struct Delivery {
  std::int16_t status;
  std::uint64_t offset = 0;
  std::uint64_t next = 0;  // position of the element that follows
};

// Headers whose components follow them with the complex bit set.
bool has_components(int type) {
  return type == element::cell_header || type == element::text_node ||
         type == element::complex_chain || type == element::complex_shape || type == 18 ||
         type == 19 || type == element::bspline_curve;
}

Delivery scan(ReaderState& r) {
  std::uint64_t at = r.position;
  for (;;) {
    const auto head = r.window.ensure(r.file, at, 2);
    if (head != ScanWindow::Result::ok) return {kReqeleInvalid};
    const std::uint16_t first = get_word(r.window.at(at), 0);
    if (first == kEndOfDesign) return {kReqeleEndOfDesign};
    if (r.window.ensure(r.file, at, 4) != ScanWindow::Result::ok) return {kReqeleInvalid};
    const std::uint16_t wtf = get_word(r.window.at(at), kWordsToFollowOffset);
    const std::size_t size = (std::size_t{wtf} + 2) * 2;
    if (is_deleted(first)) {
      at += size;
      continue;
    }
    const int type = element_type(first);
    // Elements of more than 768 words cannot be delivered whole: invalid.
    if (wtf > kMaxScanWordsToFollow || wtf < kMinScanWordsToFollow || type == 0 ||
        wtf > kMaxWordsToFollow) {
      return {kReqeleInvalid};
    }
    if (r.window.ensure(r.file, at, size) != ScanWindow::Result::ok) return {kReqeleInvalid};
    std::uint8_t* element = r.window.at(at);
    if (at == 0 && (type == element::group_data || type == element::design_header)) {
      r.dimension = (first & 0x00C0) != 0 ? Dimension::three : Dimension::two;
      std::fill_n(element + kRangeOffset, 24, std::uint8_t{0});
    }
    bool chosen = false;
    const bool complex_handling = (r.selection.flags & kSelectComplex) != 0;
    if (complex_handling && is_complex_component(first) &&
        r.components != ReaderState::Components::tested) {
      chosen = r.components == ReaderState::Components::delivered;
    } else {
      chosen = passes_selection(r.selection, element);
      r.components = ReaderState::Components::tested;
      if (complex_handling && has_components(type)) {
        r.components = chosen ? ReaderState::Components::delivered : ReaderState::Components::skipped;
      }
    }
    if (!chosen) {
      at += size;
      continue;
    }
    put_word(r.output.data(), 0, static_cast<std::uint16_t>(at % 512));
    put_word(r.output.data(), 2, static_cast<std::uint16_t>((at / 512) & 0xFFFF));
    put_long(r.output.data(), 4, 0);
    file_to_memory(std::span<const std::uint8_t>(element, size),
                   std::span<std::uint8_t>(r.output).subspan(kPositionRecordBytes), r.dimension);
    return {kReqeleOk, at, at + size};
  }
}

Delivery read_direct(ReaderState& r, std::int32_t max_words) {
  const std::uint64_t at = r.position;
  r.direct_bytes.fill(0);
  const std::ptrdiff_t n = r.file.read_at(at, r.direct_bytes);
  if (n < 0) return {kReqeleInvalid, at};
  const auto got = static_cast<std::size_t>(n);
  const std::uint16_t first = get_word(r.direct_bytes.data(), 0);
  if (got >= 2 && first == kEndOfDesign) return {kReqeleEndOfDesign, at};

  const std::uint16_t file_wtf = get_word(r.direct_bytes.data(), kWordsToFollowOffset);
  const std::size_t file_size = (std::size_t{file_wtf} + 2) * 2;
  const std::size_t memory_size = file_to_memory(
      std::span<const std::uint8_t>(r.direct_bytes.data(), got),
      std::span<std::uint8_t>(r.output).subspan(kPositionRecordBytes), r.dimension);
  put_word(r.output.data(), 0, static_cast<std::uint16_t>(at % 512));
  put_word(r.output.data(), 2, static_cast<std::uint16_t>((at / 512) & 0xFFFF));
  put_long(r.output.data(), 4, 0);
  r.position = at + file_size;

  const int type = element_type(first);
  const std::size_t memory_words = memory_size / 2;  // words-to-follow + 2
  std::int16_t status = kReqeleOk;
  if (type == 0 || type > 70) {
    status = kReqeleInvalid;
  } else if (memory_words - 2 > kMaxWordsToFollow || file_wtf < kMinScanWordsToFollow) {
    // Too long to deliver, or too short to hold an element header.
    status = kReqeleInvalid;
  } else {
    if (got < file_size) status = kReqeleCutShort;
    if (max_words < static_cast<std::int32_t>(memory_words)) status = kReqeleTooLong;
  }
  return {status, at};
}

void fill_outputs(const ReaderState& r, std::uint64_t offset, std::uint16_t* element,
                  std::int32_t max_words, std::int16_t* level, std::int16_t* type,
                  std::int32_t* cell_value, std::uint16_t* properties, std::uint16_t* word,
                  ScanPosition* position, std::uint16_t* graphic_group, std::int32_t* range,
                  std::int32_t* total_words) {
  const std::uint8_t* e = r.output.data() + kPositionRecordBytes;
  const std::uint16_t first = get_word(e, 0);
  const std::size_t words = std::size_t{get_word(e, kWordsToFollowOffset)} + 2;
  const std::size_t available = r.output.size() - kPositionRecordBytes;
  if (element != nullptr && max_words > 0) {
    const std::size_t bytes =
        std::min({words * 2, std::size_t{2} * static_cast<std::size_t>(max_words), available});
    std::memcpy(element, e, bytes);
  }
  const int element_type_code = element_type(first);
  if (level != nullptr) *level = static_cast<std::int16_t>(first & 0x3F);
  if (type != nullptr) *type = static_cast<std::int16_t>(element_type_code);
  if (cell_value != nullptr) {
    if (element_type_code == 1) *cell_value = static_cast<std::int32_t>(get_long(e, 32));
    if (element_type_code == 2) *cell_value = static_cast<std::int32_t>(get_long(e, 44));
  }
  if (properties != nullptr) *properties = get_word(e, kPropertiesOffset);
  if (word != nullptr) *word = get_word(e, kMemorySymbologyOffset);
  if (position != nullptr) {
    position->block = static_cast<std::uint32_t>(offset / 512);
    position->word = static_cast<std::uint32_t>((offset % 512) / 2);
  }
  if (graphic_group != nullptr) *graphic_group = get_word(e, kGraphicGroupOffset);
  if (range != nullptr) {
    for (std::size_t i = 0; i < 6; ++i) range[i] = from_scan_format(get_long(e, 4 + 4 * i));
  }
  if (total_words != nullptr) *total_words = static_cast<std::int32_t>(words);
}

}  // namespace

std::int16_t dfrset(const ScanPosition* start, const std::uint16_t* level_mask,
                    const std::uint16_t* type_mask, const std::uint16_t* graphic_group,
                    const std::uint16_t* properties, const std::uint16_t* class_mask,
                    const std::int32_t* range, const char* path, std::int16_t* status,
                    const std::uint16_t* complex) {
  ReaderState& r = state();
  SelectionRecord& s = r.selection;
  if (start != nullptr) {
    s.start_block = start->block;
    s.start_byte = static_cast<std::uint16_t>(2 * start->word);
  }
  if (level_mask != nullptr) {
    s.level_mask = mask_from_words(level_mask);
    s.level_mask_high = s.level_mask;
    s.flags |= kSelectLevel;
  }
  if (type_mask != nullptr) {
    s.type_mask = mask_from_words(type_mask);
    s.flags |= kSelectType;
  }
  if (graphic_group != nullptr) {
    s.graphic_group = *graphic_group;
    if (*graphic_group != 0) {
      s.flags |= kSelectGraphicGroup;
    } else {
      s.flags &= static_cast<std::uint16_t>(~kSelectGraphicGroup);
    }
  }
  if (properties != nullptr) {
    s.properties_value = properties[0] & 0xFFF0;
    s.properties_mask = properties[1] & 0xFFF0;
    s.flags |= kSelectClass;
  }
  if (class_mask != nullptr) {
    s.class_mask = *class_mask;
    s.flags |= kSelectClass;
  }
  if (range != nullptr) {
    for (std::size_t i = 0; i < 6; ++i) {
      s.range_keys[i] = exchange_halves(to_scan_format(range[i]));
    }
  }
  if (complex != nullptr) {
    if (*complex != 0) {
      s.flags |= kSelectComplex;
    } else {
      s.flags &= static_cast<std::uint16_t>(~kSelectComplex);
    }
  }
  std::int16_t result = 0;
  if (path != nullptr) result = open_design_file(r, path);
  if (r.file.is_open()) {
    r.position = start_offset(s);
    r.components = ReaderState::Components::tested;
  }
  return store(status, result);
}

void search(const std::int16_t* mode) {
  if (mode == nullptr) return;
  ReaderState& r = state();
  if (*mode == 0 && r.direct) r.position = start_offset(r.selection);
  r.direct = *mode != 0;
}

std::int16_t reqele(std::uint16_t* element, const std::int32_t* max_words, std::int16_t* status,
                    std::int16_t* level, std::int16_t* type, std::int32_t* cell_value,
                    std::uint16_t* properties, std::uint16_t* word, ScanPosition* position,
                    std::uint16_t* graphic_group, std::int32_t* range,
                    std::int32_t* total_words) {
  ReaderState& r = state();
  if (!r.file.is_open()) return store(status, kReqeleNoFile);
  // After a flush the file may hold new data: read it afresh.
  if (run_host_flush_hook()) r.window.invalidate();
  const std::int32_t max = max_words != nullptr ? *max_words : 0;
  Delivery d{kReqeleInvalid};
  if (r.direct) {
    d = read_direct(r, max);
  } else {
    d = scan(r);
    if (d.status == kReqeleOk) {
      r.position = d.next;
      set_start(r.selection, d.next);
    }
  }
  if (d.status == kReqeleOk || d.status == kReqeleTooLong || d.status == kReqeleCutShort) {
    fill_outputs(r, d.offset, element, max, level, type, cell_value, properties, word, position,
                 graphic_group, range, total_words);
  }
  return store(status, d.status);
}

void reset_design_reader() {
  ReaderState& r = state();
  r.file.close();
  r.window.invalidate();
  r.selection = SelectionRecord{};
  r.direct = false;
  r.position = 0;
  r.dimension = Dimension::two;
  r.components = ReaderState::Components::tested;
}

}  // namespace vornel::client
