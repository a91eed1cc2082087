// dgndb: makes the SQLite database of a run from a short description.
//   dgndb make DESCRIPTION OUT.db

#include "tools/dbmake/database_builder.h"
#include "tools/dbmake/db_description.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: dgndb make DESCRIPTION OUT.db\n"
    "  DESCRIPTION lines:  table NAME ENTITY [NEXTOCC]\n"
    "                      column NAME text|integer|real\n"
    "                      row MSLINK VALUE...   ('text', numbers, null)\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace vornel::dbmake;
  if (argc != 4 || std::string(argv[1]) != "make") {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "dgndb: cannot read %s\n", argv[2]);
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  auto spec = parse_description(text.str(), error);
  if (!spec) {
    std::fprintf(stderr, "dgndb: %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  if (!write_database(*spec, argv[3], error)) {
    std::fprintf(stderr, "dgndb: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
