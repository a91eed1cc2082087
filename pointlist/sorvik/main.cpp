// sorvik INFILE OUTFILE: sorts a point list by its coordinates so that
// coincident end points become neighbours for the joiner.
//
// The whole file is read once, each line's keys are parsed once, and the
// lines are written back byte for byte in key order. Lines are not limited to
// a slot size and the count is not limited by QBT_maxverts: every record read
// is written.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include "pointlist/line_sort.h"
#include "pointlist/point_list_file.h"

namespace {

using vornel::pointlist::FileHandle;
using vornel::pointlist::LineBuffer;

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

bool read_all(std::FILE* file, LineBuffer& buffer) {
  constexpr std::size_t kChunk = 1 << 20;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) buffer.text.reserve(static_cast<std::size_t>(size) + 1);
    std::rewind(file);
  }
  std::size_t used = 0;
  for (;;) {
    const std::size_t want = std::max(kChunk, buffer.text.capacity() - used);
    buffer.text.resize(used + want);
    const std::size_t got = std::fread(buffer.text.data() + used, 1, want, file);
    used += got;
    if (got < want) break;
  }
  buffer.text.resize(used);
  return !std::ferror(file);
}

// Writes the lines in the given order; false on a failed write.
bool write_lines(std::FILE* out, const LineBuffer& buffer,
                 const std::vector<std::size_t>& starts) {
  const char* text = buffer.text.data();
  for (const std::size_t start : starts) {
    const void* newline = std::memchr(text + start, '\n', buffer.text.size() - start);
    const std::size_t length = static_cast<const char*>(newline) - (text + start) + 1;
    if (std::fwrite(text + start, 1, length, out) != length) return false;
  }
  return true;
}

// A sort that failed part way leaves no half-written list behind. Only a
// regular file is removed: the output may be a device or a pipe.
int fail_and_remove_output(const char* output, bool output_is_regular, int status) {
  if (output_is_regular) std::remove(output);
  return status;
}

bool is_regular_file(std::FILE* file) {
  struct stat info {};
  return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}

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

  FileHandle in(std::fopen(input, "r"));
  if (!in) {
    std::printf("Error opening %s", input);
    return kInputOpenFailed;
  }
  FileHandle out(std::fopen(output, "w"));
  if (!out) {
    std::printf("Error opening %s", output);
    return kOutputOpenFailed;
  }
  std::setvbuf(out.get(), nullptr, _IOFBF, 1 << 20);
  const bool output_is_regular = is_regular_file(out.get());

  LineBuffer buffer;
  if (!read_all(in.get(), buffer)) {
    std::printf("Error reading %s: %s", input, std::strerror(errno));
    return fail_and_remove_output(output, output_is_regular, kInputOpenFailed);
  }
  in.reset();
  vornel::pointlist::finish_line_buffer(buffer);

  vornel::pointlist::SortFailure failure;
  const std::vector<std::size_t> starts =
      vornel::pointlist::sorted_line_starts(buffer, key_count, failure);
  if (failure.line_number != 0) {
    std::printf("\nSorvik: %s line %zu holds no point record (Y and X are required)\n", input,
                failure.line_number);
    return fail_and_remove_output(output, output_is_regular, kMalformedInput);
  }
  if (maxverts >= 0 && starts.size() > static_cast<std::size_t>(maxverts)) {
    std::printf("\nSorvik: %s holds %zu records, more than QBT_maxverts=%ld; all were sorted\n",
                input, starts.size(), maxverts);
  }

  const bool written = write_lines(out.get(), buffer, starts);
  const bool flushed = std::fflush(out.get()) == 0 && !std::ferror(out.get());
  const bool closed = std::fclose(out.release()) == 0;
  if (!written || !flushed || !closed) {
    std::printf("Error writing to output file");
    return fail_and_remove_output(output, output_is_regular, kWriteFailed);
  }
  return kSuccess;
}

}  // namespace

int main(int argc, char** argv) { return run(argc, argv); }
