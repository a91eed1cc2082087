#include "host/editing/design_editor.h"

#include "client/records/convert_element.hpp"
#include "client/records/element_words.hpp"
#include "host/editing/edit_status.h"

namespace vornel::host::editing {

namespace {

using client::element_type;

bool may_be_complex_component(int type) {
  switch (type) {
    case client::element::line:
    case client::element::line_string:
    case client::element::curve:
    case client::element::arc:
    case client::element::bspline_curve:
      return true;
    default:
      return false;
  }
}

// Elements that lead a group of components in the file.
bool has_components(int type) {
  return type == client::element::complex_chain || type == client::element::complex_shape ||
         type == client::element::cell_header || type == client::element::text_node ||
         type == client::element::bspline_curve;
}

}  // namespace

std::vector<std::uint8_t> to_memory_form(std::span<const std::uint8_t> file, client::Dimension dimension) {
  std::vector<std::uint8_t> memory(client::kMaxElementBytes + 16);
  const std::size_t size = client::file_to_memory(file, memory, dimension);
  memory.resize(std::min(size, memory.size()));
  return memory;
}

std::vector<std::uint8_t> to_file_form(std::span<const std::uint8_t> memory, client::Dimension dimension) {
  std::vector<std::uint8_t> file(memory.size() + 16);
  const std::size_t size = client::memory_to_file(memory, file, dimension);
  file.resize(std::min(size, file.size()));
  return file;
}

int DesignEditor::bind(int fd, client::Dimension dimension) {
  complex_.reset();
  dimension_ = dimension;
  return store_.bind(fd);
}

int DesignEditor::add_components(const std::vector<BuiltElement>& elements) {
  OpenComplex& c = *complex_;
  for (const BuiltElement& e : elements) {
    c.component_words += static_cast<std::uint32_t>(e.file.size() / 2);
    c.range.add(e.range);
    ++c.components;
  }
  const auto total = static_cast<std::uint32_t>(c.header_file_bytes / 2 - kComplexUncountedWords + c.component_words);
  if (total > 0xFFFF) return status_code::kTooManyVertices;
  // Range (bytes 4-27) through the component count (38-39) in one write.
  std::vector<std::uint8_t> head;
  if (int s = store_.read(c.header_position, head); s != 0) return s;
  set_record_range(head, c.range);
  client::put_word(head.data(), kComplexTotalLengthOffset, static_cast<std::uint16_t>(total));
  client::put_word(head.data(), kComplexCountOffset, c.components);
  return store_.patch(c.header_position, 4, std::span(head).subspan(4, 36));
}

int DesignEditor::place(BuildResult built, std::uint32_t& position, std::vector<std::uint8_t>* memory) {
  if (built.status != 0) return built.status;
  if (built.elements.empty()) return status_code::kInvalidElement;
  if (complex_) {
    const int type = element_type(client::get_word(built.elements.front().file.data(), 0));
    if (!may_be_complex_component(type)) return status_code::kInvalidComplexComponent;
    // The total length of the complex must stay within its 16-bit word.
    std::uint32_t words = 0;
    for (const BuiltElement& e : built.elements) words += static_cast<std::uint32_t>(e.file.size() / 2);
    if (complex_->header_file_bytes / 2 - kComplexUncountedWords + complex_->component_words + words > 0xFFFF)
      return status_code::kTooManyVertices;
    for (BuiltElement& e : built.elements) {
      client::put_word(e.file.data(), 0, static_cast<std::uint16_t>(client::get_word(e.file.data(), 0) | client::kComplexBit));
      client::put_word(e.memory.data(), 0, static_cast<std::uint16_t>(client::get_word(e.memory.data(), 0) | client::kComplexBit));
    }
  }
  pending_.clear();
  for (BuiltElement& e : built.elements) pending_.push_back(std::move(e.file));
  if (int s = store_.append(pending_, position); s != 0) return s;
  for (std::size_t i = 0; i < pending_.size(); ++i) built.elements[i].file = std::move(pending_[i]);
  if (complex_)
    if (int s = add_components(built.elements); s != 0) return s;
  if (memory != nullptr) *memory = std::move(built.elements.front().memory);
  return 0;
}

int DesignEditor::place_at(BuildResult built, std::uint32_t at, std::uint32_t& position, std::vector<std::uint8_t>* memory) {
  if (built.status != 0) return built.status;
  if (at == store_.end()) return place(std::move(built), position, memory);
  // In place of another element: one record, same size, outside a complex.
  if (complex_ || built.elements.size() != 1 || at == 0) return status_code::kCantWriteAtPosition;
  if (int s = store_.rewrite(at, built.elements.front().file); s != 0)
    return s == status_code::kInvalidElement ? status_code::kCantWriteAtPosition : s;
  position = at;
  if (memory != nullptr) *memory = std::move(built.elements.front().memory);
  return 0;
}

int DesignEditor::open_complex(const Placement& header) {
  if (complex_) return status_code::kInvalidComplexComponent;
  BuildResult built = build_complex_header(client::element::complex_chain, header, dimension_);
  if (built.status != 0) return built.status;
  const std::uint32_t bytes = static_cast<std::uint32_t>(built.elements.front().file.size());
  std::uint32_t position = 0;
  pending_.assign(1, built.elements.front().file);
  if (int s = store_.append(pending_, position); s != 0) return s;
  complex_ = OpenComplex{position, bytes, 0, 0, Box{}};
  return 0;
}

int DesignEditor::close_complex(std::int32_t type_word) {
  if (!complex_) return status_code::kEcmplxBeforeBcmplx;
  if (type_word != 0 && type_word != 1) return status_code::kEcmplxIllegalCode;
  const OpenComplex c = *complex_;
  complex_.reset();
  if (c.components == 0) {
    // Nothing was placed in it: the empty header goes.
    store_.set_deleted(c.header_position);
    return status_code::kInvalidComplexComponent;
  }
  // The header takes its final type, and the level and symbology of its
  // first component.
  std::vector<std::uint8_t> head, component;
  if (int s = store_.read(c.header_position, head); s != 0) return s;
  if (int s = store_.read(c.header_position + c.header_file_bytes, component); s != 0) return s;
  const int type = type_word == 1 ? client::element::complex_chain : client::element::complex_shape;
  const std::uint16_t component_first = client::get_word(component.data(), 0);
  client::put_word(head.data(), 0, static_cast<std::uint16_t>((type << 8) | client::element_level(component_first)));
  client::put_word(head.data(), client::kFileSymbologyOffset, client::get_word(component.data(), client::kFileSymbologyOffset));
  return store_.rewrite(c.header_position, head);
}

int DesignEditor::read(std::uint32_t position, std::vector<std::uint8_t>& out, bool raw) const {
  std::vector<std::uint8_t> file;
  if (int s = store_.read(position, file); s != 0) return s;
  out = raw ? std::move(file) : to_memory_form(file, dimension_);
  return 0;
}

int DesignEditor::rewrite(std::uint32_t position, std::span<const std::uint8_t> memory) {
  if (memory.size() < 4 || position == 0) return status_code::kCantWriteAtPosition;
  const std::size_t record = 2 * (std::size_t{client::get_word(memory.data(), 2)} + 2);
  if (record > memory.size() || record > client::kMaxElementBytes + 16) return status_code::kInvalidElement;
  const std::vector<std::uint8_t> file = to_file_form(memory.first(record), dimension_);
  return store_.rewrite(position, file);
}

int DesignEditor::erase(std::uint32_t position, bool components) {
  if (position == 0) return status_code::kInvalidElement;  // the design header stays
  std::uint16_t first = 0;
  if (int s = store_.set_deleted(position, &first); s != 0) return s;
  const int type = element_type(first);
  if (!components || !has_components(type)) return 0;
  std::vector<std::uint8_t> file;
  if (int s = store_.read(position, file); s != 0) return s;
  // The components follow their header; a B-spline's parts count in words.
  std::uint32_t next = position + static_cast<std::uint32_t>(file.size());
  std::size_t remaining = 0;
  std::uint32_t words_left = 0;
  if (type == client::element::bspline_curve) words_left = client::get_file_long(file.data(), 36);
  else remaining = client::get_word(file.data(), kComplexCountOffset);
  while ((remaining > 0 || words_left > 0) && next < store_.end()) {
    std::vector<std::uint8_t> part;
    if (store_.read(next, part) != 0) break;
    if (!client::is_complex_component(client::get_word(part.data(), 0))) break;
    if (int s = store_.set_deleted(next); s != 0) return s;
    next += static_cast<std::uint32_t>(part.size());
    if (remaining > 0) --remaining;
    words_left = words_left > part.size() / 2 ? words_left - static_cast<std::uint32_t>(part.size() / 2) : 0;
  }
  return 0;
}

}  // namespace vornel::host::editing
