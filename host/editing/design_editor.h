#pragma once
// Element editing on one design file: placing built elements (inside or
// outside an open complex element), reading elements in memory form,
// rewriting and deleting them in place.

#include "client/records/element_header.hpp"
#include "host/editing/element_builder.h"
#include "host/editing/element_store.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vornel::host::editing {

class DesignEditor {
 public:
  // Binds to the open descriptor of a design file of `dimension`; a
  // complex element left open on an earlier file is forgotten.
  int bind(int fd, client::Dimension dimension);
  bool bound_to(int fd) const { return store_.bound_to(fd); }
  client::Dimension dimension() const { return dimension_; }
  const ElementStore& store() const { return store_; }
  // Before the file is closed: gives back the room reserved past the end.
  void finish() { store_.trim(); }

  // Appends the built element(s). Inside an open complex they become its
  // components (complex bit set, header count, length and range kept up to
  // date after each). `position` receives the first element's position;
  // `memory` (may be null) the memory form of the first element as written.
  int place(BuildResult built, std::uint32_t& position, std::vector<std::uint8_t>* memory = nullptr);
  // Places at a given position: the end of the design (an append), or an
  // element of the same file size that the new one replaces.
  int place_at(BuildResult built, std::uint32_t at, std::uint32_t& position, std::vector<std::uint8_t>* memory = nullptr);

  // Opens a complex element whose header carries `linkages`. The header is
  // written at once, as a complex chain with no components; closing sets
  // its final type.
  int open_complex(const Placement& header);
  // Closes it: type word 1 a complex chain, 0 a complex shape.
  int close_complex(std::int32_t type_word);
  bool complex_open() const { return complex_.has_value(); }

  // The element at `position` in memory form (or file form when `raw`).
  int read(std::uint32_t position, std::vector<std::uint8_t>& out, bool raw = false) const;
  // Replaces the element at `position` by a memory-form record of the same
  // file size.
  int rewrite(std::uint32_t position, std::span<const std::uint8_t> memory);
  // Sets the deleted bit; with `components`, a complex header's components
  // (and a B-spline's parts) are deleted with it.
  int erase(std::uint32_t position, bool components);

 private:
  struct OpenComplex {
    std::uint32_t header_position = 0;
    std::uint32_t header_file_bytes = 0;
    std::uint32_t component_words = 0;
    std::uint16_t components = 0;
    Box range;
  };
  int add_components(const std::vector<BuiltElement>& elements);

  ElementStore store_;
  client::Dimension dimension_ = client::Dimension::two;
  std::optional<OpenComplex> complex_;
  std::vector<std::vector<std::uint8_t>> pending_;
};

// File form <-> memory form of one element in a file of `dimension`.
std::vector<std::uint8_t> to_memory_form(std::span<const std::uint8_t> file, client::Dimension dimension);
std::vector<std::uint8_t> to_file_form(std::span<const std::uint8_t> memory, client::Dimension dimension);

}  // namespace vornel::host::editing
