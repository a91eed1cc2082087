#pragma once
// Test fixtures: design files built from text descriptions in a private
// temporary directory, with the byte positions of their top-level elements.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/dgnmake/description_parser.hpp"
#include "tools/dgnmake/design_file_builder.hpp"
#include "tools/dgnmake/element_encoder.hpp"

namespace vornel::client::testing {

class DesignFixture {
 public:
  explicit DesignFixture(const std::string& description, const std::string& name = "fixture.dgn") {
    static int serial = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("vornel_reader_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / name).string();
    const dgnmake::DesignDescription d = dgnmake::parse_design_description(description);
    bytes_ = dgnmake::build_design_file(d);
    std::uint32_t at = dgnmake::kHeaderElementBytes;
    for (const auto& e : d.elements) {
      offsets_.push_back(at);
      at += static_cast<std::uint32_t>(dgnmake::encode_element(e, d.dimension).size());
    }
    end_ = at;
    write();
  }
  ~DesignFixture() { std::filesystem::remove_all(dir_); }
  DesignFixture(const DesignFixture&) = delete;
  DesignFixture& operator=(const DesignFixture&) = delete;

  void write() const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
  }
  const std::string& path() const { return path_; }
  const std::filesystem::path& dir() const { return dir_; }
  std::vector<std::uint8_t>& bytes() { return bytes_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  // Byte position of top-level element i, and of the end-of-design mark.
  std::uint32_t offset(std::size_t i) const { return offsets_.at(i); }
  std::uint32_t end_offset() const { return end_; }

 private:
  std::filesystem::path dir_;
  std::string path_;
  std::vector<std::uint8_t> bytes_;
  std::vector<std::uint32_t> offsets_;
  std::uint32_t end_ = 0;
};

}  // namespace vornel::client::testing
