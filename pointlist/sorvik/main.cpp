// sorvik INFILE OUTFILE: sorts a point list by its coordinates so that
// coincident end points become neighbours for the joiner.
//
// The input is mapped once, each line's keys are parsed once, and the lines
// are written back byte for byte in key order. Lines are not limited to a
// slot size and their number is not limited by QBT_maxverts: every line read
// is written.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pointlist/line_sort.h"
#include "pointlist/point_list_file.h"
#include "pointlist/sorvik/mapped_input.h"

namespace {

using vornel::pointlist::FileHandle;

enum ExitStatus {
  kSuccess = 0,
  kMalformedInput = 96,
  kWriteFailed = 97,
  kOutputOpenFailed = 98,
  kInputOpenFailed = 99,
  kUsage = 100,
};

long env_long(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value ? std::strtol(value, nullptr, 10) : fallback;
}

bool is_regular_file(std::FILE* file) {
  struct stat info {};
  return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}

// Collects output lines in a large block so that a million short lines cost
// a few dozen writes.
class BlockWriter {
 public:
  explicit BlockWriter(std::FILE* out) : out_(out) { block_.reserve(kBlock); }

  bool put_line(std::string_view line) {
    if (block_.size() + line.size() + 1 > kBlock && !flush()) return false;
    block_.append(line);
    block_.push_back('\n');
    return true;
  }

  bool flush() {
    const bool ok = std::fwrite(block_.data(), 1, block_.size(), out_) == block_.size();
    block_.clear();
    return ok;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  std::FILE* out_;
  std::string block_;
};

int run(int argc, char** argv) {
  if (argc != 3) {
    std::printf("\nUsage: sorvik <infile> <outfile>\n");
    return kUsage;
  }
  const char* input = argv[1];
  const char* output = argv[2];
  // A 2-D run sorts by Y, X, position; any other dimension by Y, X, Z, position.
  const int key_count = env_long("QBT_segdim", 2) == 2 ? 3 : 4;
  const long maxverts = env_long("QBT_maxverts", -1);

  std::printf("\nSorvik sorting from %s to %s\n", input, output);
  std::fflush(stdout);

  vornel::pointlist::MappedInput in;
  if (!in.open(input)) {
    std::printf("Error opening %s", input);
    return kInputOpenFailed;
  }
  FileHandle out(std::fopen(output, "w"));
  if (!out) {
    std::printf("Error opening %s", output);
    return kOutputOpenFailed;
  }
  // A sort that fails part way leaves no half-written list behind. Only a
  // regular file is removed: the output may be a device or a pipe.
  const bool output_is_regular = is_regular_file(out.get());
  auto fail = [&](int status) {
    out.reset();
    if (output_is_regular) std::remove(output);
    return status;
  };

  BlockWriter writer(out.get());
  std::size_t lines = 0;
  vornel::pointlist::SortFailure failure;
  const bool sorted = vornel::pointlist::sort_lines(
      in.text(), key_count,
      [&](std::string_view line) {
        ++lines;
        return writer.put_line(line);
      },
      failure);
  if (failure.line_number != 0) {
    std::printf("\nSorvik: %s line %zu holds no point record (Y and X are required)\n", input,
                failure.line_number);
    return fail(kMalformedInput);
  }
  const bool written = sorted && writer.flush() && std::fflush(out.get()) == 0;
  const bool closed = std::fclose(out.release()) == 0;
  if (!written || !closed) {
    std::printf("Error writing to output file");
    return fail(kWriteFailed);
  }
  if (maxverts >= 0 && lines > static_cast<std::size_t>(maxverts)) {
    std::printf("\nSorvik: %s holds %zu records, more than QBT_maxverts=%ld; all were sorted\n",
                input, lines, maxverts);
  }
  return kSuccess;
}

}  // namespace

int main(int argc, char** argv) { return run(argc, argv); }
