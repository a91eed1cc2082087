// The host's own work per request, without the transport: building and
// appending a two-vertex line string, and setting the deleted bit, on a
// real file. What place_delete_rate measures on top of this is the request
// round trip.

#include "host/editing/design_editor.h"
#include "host/header_only_design.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace vornel::host;

struct ScratchDesign {
  ScratchDesign() {
    path = (std::filesystem::temp_directory_path() / ("editor_benchmark_" + std::to_string(getpid()) + ".dgn")).string();
    write_file(path, header_only_design({}));
    fd = ::open(path.c_str(), O_RDWR);
  }
  ~ScratchDesign() {
    ::close(fd);
    std::filesystem::remove(path);
  }
  std::string path;
  int fd = -1;
};

void PlaceLineString(benchmark::State& state) {
  ScratchDesign design;
  editing::DesignEditor editor;
  editor.bind(design.fd, vornel::client::Dimension::two);
  editing::Placement placement;
  placement.level = 10;
  std::int32_t x = 0;
  for (auto _ : state) {
    const editing::Point v[2] = {{x, 0, 0}, {x + 100, 100, 0}};
    std::uint32_t position = 0;
    if (editor.place(editing::build_vertex_element(4, placement, v, vornel::client::Dimension::two), position) != 0)
      state.SkipWithError("place failed");
    ++x;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlaceLineString)->Iterations(1000000);

void DeleteLineString(benchmark::State& state) {
  ScratchDesign design;
  editing::DesignEditor editor;
  editor.bind(design.fd, vornel::client::Dimension::two);
  editing::Placement placement;
  std::vector<std::uint32_t> positions;
  for (std::int32_t i = 0; i < 1000000; ++i) {
    const editing::Point v[2] = {{i, 0, 0}, {i + 100, 100, 0}};
    std::uint32_t position = 0;
    editor.place(editing::build_vertex_element(4, placement, v, vornel::client::Dimension::two), position);
    positions.push_back(position);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    if (editor.erase(positions[next++ % positions.size()], true) != 0) state.SkipWithError("delete failed");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DeleteLineString)->Iterations(1000000);

}  // namespace

BENCHMARK_MAIN();
