// dgntool: builds design files and element list files from text
// descriptions, and dumps design files element by element.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/dgnmake/description.hpp"
#include "tools/dgnmake/design_file_builder.hpp"
#include "tools/dgnmake/list_file_builder.hpp"
#include "tools/dgntool/element_dump.hpp"

namespace {

constexpr int kUsage = 1;
constexpr int kInputError = 2;
constexpr int kOutputError = 4;

int usage() {
  std::cerr << "usage: dgntool dump FILE [--json]\n"
               "       dgntool make DESCRIPTION OUT.dgn\n"
               "       dgntool make-list DESCRIPTION OUT.ulf\n";
  return kUsage;
}

bool read_file(const std::string& path, std::vector<char>& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  // Write beside the target and rename, so a failure never leaves half a file.
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      std::cerr << "dgntool: " << path << ": cannot write\n";
      return kOutputError;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    std::cerr << "dgntool: " << path << ": cannot write\n";
    return kOutputError;
  }
  return 0;
}

int make(const std::string& description, const std::string& output, bool list) {
  std::vector<char> text;
  if (!read_file(description, text)) {
    std::cerr << "dgntool: " << description << ": cannot read\n";
    return kInputError;
  }
  try {
    const std::string source(text.begin(), text.end());
    return write_file(output, list ? vornel::dgnmake::make_list_file(source)
                                   : vornel::dgnmake::make_design_file(source));
  } catch (const vornel::dgnmake::DescriptionError& e) {
    std::cerr << "dgntool: " << description << ": " << e.what() << '\n';
    return kInputError;
  }
}

int dump(const std::string& path, bool json) {
  std::vector<char> data;
  if (!read_file(path, data)) {
    std::cerr << "dgntool: " << path << ": cannot read\n";
    return kInputError;
  }
  const std::vector<std::uint8_t> bytes(data.begin(), data.end());
  const int status = vornel::dgntool::dump_design_file(
      bytes, path, json ? vornel::dgntool::DumpFormat::json : vornel::dgntool::DumpFormat::text,
      std::cout, std::cerr);
  std::cout.flush();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "dump") {
    if (args.size() == 2) return dump(args[1], false);
    if (args.size() == 3 && args[2] == "--json") return dump(args[1], true);
    return usage();
  }
  if (args.size() == 3 && args[0] == "make") return make(args[1], args[2], false);
  if (args.size() == 3 && args[0] == "make-list") return make(args[1], args[2], true);
  return usage();
}
