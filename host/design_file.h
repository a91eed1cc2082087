#pragma once
// The design file the host serves: opened read-write (the host owns every
// write to it), with the values of its header element that the TCB carries.

#include "host/editing/design_editor.h"

#include <array>
#include <cstdint>
#include <string>

namespace vornel::host {

// Values of the type-9 header element that begins every design file.
struct DesignHeader {
  int dimension = 2;                    // 3 when bits 6 and 7 of the first word are set
  std::int32_t subunits_per_master = 1;  // "EU.MU"
  std::int32_t uors_per_subunit = 1;     // "EU.UOR"
  std::array<char, 2> master_unit_name{};
  std::array<char, 2> sub_unit_name{};
  std::array<double, 3> global_origin{};  // UOR
};

class DesignFile {
 public:
  DesignFile() = default;
  ~DesignFile();
  DesignFile(const DesignFile&) = delete;
  DesignFile& operator=(const DesignFile&) = delete;
  DesignFile& operator=(DesignFile&& other) noexcept;

  // Opens `path` read-write and reads its header. Returns 0, or 948 when the
  // file cannot be opened or is not a design file.
  int open(const std::string& path);
  void close();
  // Writes everything pending to the disk. 0 or 912 (file write).
  int flush();

  bool is_open() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  const DesignHeader& header() const { return header_; }
  // True when `path` names the file that is open.
  bool is_same_file(const std::string& path) const;
  // Element editing on this file; ready once the open has found its elements.
  editing::DesignEditor& editor() { return editor_; }
  bool editor_ready() const { return editor_.bound_to(fd_); }

 private:
  int fd_ = -1;
  std::string path_;
  DesignHeader header_;
  editing::DesignEditor editor_;
};

// Reads the header element from the first bytes of a design file. False when
// they are not a design file's header.
bool parse_design_header(const std::uint8_t* bytes, std::size_t size, DesignHeader& header);

}  // namespace vornel::host
