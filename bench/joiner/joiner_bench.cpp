// Times vornel alone: a design file of contour-like line strings cut into
// pieces and stored in scattered order, its sorted point list written here
// (two records per piece), then one vornel run through dgnhost. Prints the
// seconds and the peak memory of vornel and of the host.
//
//   bench_joiner [pieces (default 1000000)] [work folder (default: a temporary one)]
//
// Target: 1,000,000 pieces in at most 6 seconds, under 200 MB together.
#include <fcntl.h>
#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "client/records/element_words.hpp"
#include "pointlist/point_list_file.h"
#include "tools/dgnmake/design_file_builder.hpp"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using vornel::dgnmake::DesignDescription;
using vornel::dgnmake::ElementSpec;
using vornel::dgnmake::Kind;
using vornel::dgnmake::Point;

constexpr double kTargetSeconds = 6.0;
constexpr int kPiecesPerLine = 1000;
constexpr std::int32_t kStep = 100;

DesignDescription contour_pieces(long pieces) {
  DesignDescription d;
  const long lines = std::max(1L, (pieces + kPiecesPerLine - 1) / kPiecesPerLine);
  d.elements.reserve(static_cast<std::size_t>(pieces));
  long made = 0;
  for (long line = 0; line < lines && made < pieces; ++line) {
    const auto base = static_cast<std::int32_t>(line * 5000);
    const auto y = [&](long i) {
      return base + static_cast<std::int32_t>(1500.0 * std::sin(static_cast<double>(i) * 0.05 + static_cast<double>(line)));
    };
    for (long piece = 0; piece < kPiecesPerLine && made < pieces; ++piece, ++made) {
      ElementSpec e;
      e.kind = Kind::line_string;
      e.attributes.level = line % 2 == 0 ? 10 : 11;
      for (long v = 2 * piece; v <= 2 * piece + 2; ++v)
        e.points.push_back(Point{static_cast<std::int32_t>(v) * kStep, y(v), 0});
      d.elements.push_back(std::move(e));
    }
  }
  std::mt19937 random(12345);
  std::shuffle(d.elements.begin(), d.elements.end(), random);
  return d;
}

// The end points of every line string of the file, sorted as sorvik sorts.
std::vector<vornel::pointlist::PointRecord> end_points(const std::vector<std::uint8_t>& file) {
  using vornel::client::get_file_long;
  using vornel::client::get_word;
  std::vector<vornel::pointlist::PointRecord> records;
  std::size_t at = 0;
  while (at + 4 <= file.size()) {
    const std::uint16_t first = get_word(file.data(), at);
    if (first == 0xFFFF) break;
    const std::size_t bytes = 2 * (std::size_t{get_word(file.data(), at + 2)} + 2);
    if (((first >> 8) & 0x7F) == 4) {
      const std::uint16_t count = get_word(file.data(), at + 36);
      for (std::size_t v : {std::size_t{0}, std::size_t{count} - 1}) {
        vornel::pointlist::PointRecord r;
        r.x = static_cast<std::int32_t>(get_file_long(file.data(), at + 38 + 8 * v));
        r.y = static_cast<std::int32_t>(get_file_long(file.data(), at + 42 + 8 * v));
        r.position = static_cast<std::int32_t>(at);
        records.push_back(r);
      }
    }
    at += bytes;
  }
  std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
    return std::tie(a.y, a.x, a.position) < std::tie(b.y, b.x, b.position);
  });
  return records;
}

long peak_kib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// Children of `parent` (the host the joiner starts).
std::vector<pid_t> children(pid_t parent) {
  std::vector<pid_t> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string text;
    std::getline(stat, text);
    const auto close = text.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (std::sscanf(text.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent)
      found.push_back(static_cast<pid_t>(std::atoi(name.c_str())));
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  const long pieces = argc > 1 ? std::atol(argv[1]) : 1000000;
  const bool own_folder = argc <= 2;
  const fs::path work = own_folder ? fs::temp_directory_path() / ("bench_joiner_" + std::to_string(::getpid()))
                                   : fs::path(argv[2]);
  fs::create_directories(work);

  const std::vector<std::uint8_t> file = vornel::dgnmake::build_design_file(contour_pieces(pieces));
  {
    std::ofstream out(work / "pieces.dgn", std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  const auto records = end_points(file);
  {
    vornel::pointlist::PointListWriter writer((work / "sorted.77777").string(), {2, vornel::pointlist::RecordKind::plain});
    for (const auto& r : records) writer.write(r);
    writer.close();
  }
  std::printf("design file: %ld pieces, %zu bytes; %zu point records\n", pieces, file.size(), records.size());

  const std::string maxverts = "QBT_maxverts=" + std::to_string(records.size());
  const std::string exe = "MS_EXE=" VORNEL_BIN_DIR;
  std::vector<std::string> env_text = {"QBT_segpid=77777", "QBT_segdim=2", maxverts, exe, "QBT_proc=vornel"};
  std::vector<char*> env;
  for (auto& e : env_text) env.push_back(e.data());
  for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
  env.push_back(nullptr);
  std::string program = VORNEL_BIN_DIR "/vornel";
  std::string a1 = "-F", a2 = "pieces.dgn", a3 = "-ll", a4 = "10,11";
  char* args[] = {program.data(), a1.data(), a2.data(), a3.data(), a4.data(), nullptr};

  fs::current_path(work);
  const int log = ::open("vornel.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, log, 1);
  posix_spawn_file_actions_adddup2(&actions, log, 2);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, args, env.data()) != 0) {
    std::printf("cannot start vornel\n");
    return 1;
  }
  std::atomic<bool> done{false};
  long host_peak = 0;
  long joiner_peak = 0;
  std::thread sampler([&] {
    while (!done) {
      joiner_peak = std::max(joiner_peak, peak_kib(pid));
      for (pid_t child : children(pid)) host_peak = std::max(host_peak, peak_kib(child));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  done = true;
  sampler.join();
  // Sampled, not from getrusage: a spawned child's maximum counts this
  // program's own memory from before its exec.

  const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::printf("vornel exit status: %d (log: %s)\n", exit_status, (work / "vornel.log").c_str());
  std::printf("vornel: %.2f s for %ld pieces, %.0f pieces per second (target: at most %.0f s)\n", seconds, pieces,
              static_cast<double>(pieces) / seconds, kTargetSeconds);
  std::printf("peak memory: vornel %.1f MB, host %.1f MB, together %.1f MB (target: under 200 MB)\n",
              static_cast<double>(joiner_peak) / 1024.0, static_cast<double>(host_peak) / 1024.0,
              static_cast<double>(joiner_peak + host_peak) / 1024.0);
  if (own_folder && exit_status == 0) fs::remove_all(work);
  return exit_status == 0 ? 0 : 1;
}
