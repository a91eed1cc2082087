#include "extractors/common/extraction_limits.h"
#include "extractors/pellax/pellax_run.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>

#include "client/connection/host_connection.h"
#include "client/reader/design_reader.hpp"
#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "client/session/session.h"
#include "extractors/common/element_points.h"
#include "extractors/common/geometry_operations.h"
#include "extractors/common/output_file.h"
#include "extractors/common/point_output.h"
#include "extractors/common/settings_file.h"
#include "extractors/pellax/element_list_line.h"
#include "extractors/pellax/entity_check.h"
#include "extractors/pellax/pellax_options.h"
#include "pointlist/point_list_file.h"
#include "toolkit/linkage/get_mslink.h"

namespace vornel::pellax {
namespace {

namespace el = client::element;


// Exit codes.
constexpr int kExitUsage = -1;
constexpr int kExitInvalidArgument = -999;
constexpr int kExitEnvironment = 2;
constexpr int kExitOutput = 4;
constexpr int kExitNotOpened = 5;
constexpr int kExitScanError = 6;
constexpr int kExitDeleted = 7;
constexpr int kExitDimension = 9;
constexpr int kExitMasterUnits = 11;
constexpr int kExitUors = 12;
constexpr int kExitBsplinePart = 66;
constexpr int kExitVCheck = 97;

using ElementBuffer = std::array<std::uint16_t, extract::kElementWords>;

std::span<const std::uint8_t> bytes_of(const ElementBuffer& e) {
  const std::size_t words = std::min<std::size_t>(std::size_t{e[1]} + 2, e.size());
  return {reinterpret_cast<const std::uint8_t*>(e.data()), words * 2};
}

// The element list file of -r: one line per element.
class ListOutput {
 public:
  explicit ListOutput(const std::string& path) : file_(path) {}
  void write(const std::string& line) {
    file_.write(line);
    ++count_;
  }
  void close() { file_.close(); }
  std::int64_t count() const { return count_; }

 private:
  extract::OutputFile file_;
  std::int64_t count_ = 0;
};

struct ScanMasks {
  std::array<std::uint16_t, 4> levels{};
  std::array<std::uint16_t, 4> types{};
  std::uint16_t classes = 0;
};

std::array<std::uint16_t, 4> mask_words(std::uint64_t mask) {
  return {static_cast<std::uint16_t>(mask), static_cast<std::uint16_t>(mask >> 16),
          static_cast<std::uint16_t>(mask >> 32), static_cast<std::uint16_t>(mask >> 48)};
}

class Run {
 public:
  Run(Options options, std::string ppid) : o_(std::move(options)), ppid_(std::move(ppid)) {
    masks_.levels = mask_words(o_.selection.levels);
    masks_.types = mask_words(o_.selection.types);
    masks_.classes = o_.selection.classes;
  }

  int execute();

 private:
  int process_file(const std::string& name, bool is_design);
  int scan(bool is_design);
  // 0 to go on, or an exit code.
  int process_element(const ElementBuffer& element, const client::ScanPosition& at,
                      bool is_design);
  int gather_bspline(std::vector<ElementBuffer>& parts);
  bool passes_symbology(std::uint16_t symbology) const;
  bool handled_type(int type) const;
  void set_criteria(const client::ScanPosition* start);
  void close_outputs();
  void write_records(const ElementBuffer& element, std::int32_t position, std::int32_t file_position);
  void print_progress(std::int64_t before, std::int64_t after) const;

  Options o_;
  std::string ppid_;
  ScanMasks masks_;
  int dimension_ = 2;       // the design file's: fixes the record layout
  int file_dimension_ = 2;  // the file being read
  double uor_per_master_ = 1.0;
  extract::StrokeTolerances tolerances_;  // in UOR for the current file
  std::int32_t node_entity_ = 0;
  std::unique_ptr<extract::SettingsFile> settings_;
  std::unique_ptr<extract::PointOutput> points_;
  std::unique_ptr<ListOutput> list_;
  std::int64_t file_records_ = 0;
  std::int64_t total_records_ = 0;
  client::ScanPosition last_position_{};
  std::vector<extract::Vertex> vertices_;
};

void Run::close_outputs() {
  try {
    if (points_) points_->close();
    if (list_) list_->close();
    if (settings_) settings_->close();
  } catch (const pointlist::PointListError&) {
    // A run that already failed keeps its own status.
  }
}

bool Run::passes_symbology(std::uint16_t symbology) const {
  const Selection& s = o_.selection;
  const int style = symbology & 7;
  const int weight = (symbology >> 3) & 31;
  const int color = symbology >> 8;
  const bool r_o = !s.check_colors ||
                   ((s.colors[static_cast<std::size_t>(color / 64)] >> (color % 64)) & 1U) != 0;
  const bool r_s = !s.check_styles || ((s.styles >> style) & 1U) != 0;
  const bool r_w = !s.check_weights || ((s.weights >> weight) & 1U) != 0;
  if (o_.debug) std::printf("\nr_o=%d r_s=%d r_w=%d", r_o, r_s, r_w);
  return r_o && r_s && r_w;
}

bool Run::handled_type(int type) const {
  switch (type) {
    case el::cell_header: case el::line: case el::line_string: case el::shape:
    case el::text_node: case el::curve: case el::complex_chain: case el::ellipse: case el::text:
      return true;
    case el::bspline_curve: return o_.stroke_bsplines;
    case el::arc: return o_.stroke_arcs;
    default: return false;
  }
}

void Run::set_criteria(const client::ScanPosition* start) {
  std::int16_t status = 0;
  client::dfrset(start, masks_.levels.data(), masks_.types.data(), nullptr, nullptr,
                 &masks_.classes, nullptr, nullptr, &status, nullptr);
}

void Run::print_progress(std::int64_t before, std::int64_t after) const {
  if (after / extract::kProgressInterval > before / extract::kProgressInterval) {
    std::printf("\n%6d elements identified\n", static_cast<int>(after / 2));
  }
}

// The B-spline components that follow a curve header in the scan: up to
// three poles, knots or weights. The element that ends the gathering is
// delivered again by the next read.
int Run::gather_bspline(std::vector<ElementBuffer>& parts) {
  for (int n = 0; n < extract::kBsplineLookAhead; ++n) {
    ElementBuffer e{};
    std::int32_t max_words = extract::kElementWords;
    std::int16_t status = 0;
    std::int16_t type = 0;
    client::ScanPosition at{};
    client::reqele(e.data(), &max_words, &status, nullptr, &type, nullptr, nullptr, nullptr, &at,
                   nullptr, nullptr, nullptr);
    if (status > client::kReqeleEndOfDesign) {
      std::printf("\n*** dgn get error %d ***\n", status);
      std::printf("at Block: %d, Byte: %d\n", static_cast<int>(last_position_.block),
                  static_cast<int>(last_position_.word * 2));
      return kExitBsplinePart;
    }
    const bool part = status == 0 && (type == el::bspline_pole || type == el::bspline_knot ||
                                      type == el::bspline_weight);
    if (!part) {
      // Restart the scan at the element that ended the gathering so that it
      // is processed in its own turn; at the end of the file the next read
      // reports the end again.
      if (status == 0) set_criteria(&at);
      break;
    }
    last_position_ = at;
    parts.push_back(e);
  }
  return 0;
}

void Run::write_records(const ElementBuffer& element, std::int32_t position,
                        std::int32_t file_position) {
  const std::span<const std::uint8_t> bytes = bytes_of(element);
  const std::uint16_t first = element[0];
  const int type = client::element_type(first);
  const int level = client::element_level(first);
  const std::uint16_t symbology = client::get_word(bytes.data(), client::kMemorySymbologyOffset);
  const auto count = static_cast<int>(vertices_.size());
  const std::int64_t before = file_records_;

  if (o_.element_list) {
    list_->write(element_list_line(bytes, file_position, count));
    ++file_records_;
    ++total_records_;
    print_progress(before, file_records_);
    return;
  }

  const int wt_opt = weight_option(o_);
  const bool weighted = wt_opt > 0 || (o_.forced_weighted != 0 && dimension_ == 2);
  if (!weighted && o_.v_check > 0) {
    // The vertex-count word of line strings, shapes and curves counts their
    // control points; other elements count the points taken.
    int vertex_word = count;
    if (type == el::line_string || type == el::shape || type == el::curve) {
      vertex_word = client::get_word(bytes.data(), 40);
    }
    if (!(vertex_word - 1 > o_.v_check)) return;
  }
  extract::ElementRecords records;
  records.position = position;
  records.point_like = extract::is_point_like(type);
  records.interior = o_.interior;
  if (weighted) records.weight = o_.weights.weight_of(type, symbology >> 8, level);
  if (o_.node_link && node_entity_ > 0) {
    std::int32_t link = 0;
    toolkit::get_mslink(static_cast<std::int16_t>(node_entity_), bytes, &link);
    records.node_link = link;
  }
  const int n = points_->write_element(vertices_, records);
  file_records_ += n;
  total_records_ += n;
  if (o_.debug) std::printf("\ntype %d at %d: %d vertices, weight %d", type, position, count, records.weight);
  print_progress(before, file_records_);
}

int Run::process_element(const ElementBuffer& element, const client::ScanPosition& at,
                         bool is_design) {
  const std::span<const std::uint8_t> bytes = bytes_of(element);
  const std::uint16_t first = element[0];
  const int type = client::element_type(first);
  const std::uint16_t symbology = client::get_word(bytes.data(), client::kMemorySymbologyOffset);
  if (o_.debug) {
    std::printf("\nelement %d: level %d type %d style %d weight %d",
                static_cast<int>(total_records_), client::element_level(first), type,
                symbology & 7, (symbology >> 3) & 31);
  }
  if (!passes_symbology(symbology)) return 0;
  if (o_.selection.check_entities) {
    const bool n_e = entnum_check(bytes, o_.selection.entities, o_.selection.user_word);
    if (o_.debug) std::printf(" n_e=%d", n_e);
    if (!n_e) return 0;
  }
  if (!handled_type(type)) return 0;
  if (client::is_complex_component(first) && type != el::text_node) return 0;

  const auto file_position = static_cast<std::int32_t>(at.block * 512 + at.word * 2);
  const std::int32_t position = is_design ? file_position : pointlist::kUneditablePosition;

  const bool stroke_curve = type == el::curve && o_.stroke_curves;
  if (type == el::complex_chain) {
    extract::expand_complex_chain(bytes, file_position, file_dimension_, o_.stroke_curves,
                                  tolerances_, vertices_);
  } else if (type == el::arc || stroke_curve) {
    extract::stroke_arc_or_curve(bytes, type == el::arc ? tolerances_.arc : tolerances_.curve,
                                 file_dimension_, vertices_);
  } else if (type == el::bspline_curve) {
    std::vector<ElementBuffer> parts;
    if (const int failed = gather_bspline(parts); failed != 0) return failed;
    std::vector<std::span<const std::uint8_t>> components;
    for (const ElementBuffer& part : parts) components.push_back(bytes_of(part));
    extract::stroke_bspline_curve(bytes, components, tolerances_.bspline, file_dimension_,
                                  vertices_);
  } else if (extract::read_element_points(bytes, file_dimension_, true, vertices_) !=
             extract::PointsResult::ok) {
    std::printf("\n*** element at Block: %d, Byte: %d is shorter than its counts - skipped ***\n",
                static_cast<int>(at.block), static_cast<int>(at.word * 2));
    return 0;
  }
  // Stroke statuses are not reported: the points are what the stroke gave.
  write_records(element, position, file_position);
  return 0;
}

int Run::scan(bool is_design) {
  client::ScanPosition start{};
  std::int16_t status = 0;
  client::dfrset(&start, masks_.levels.data(), masks_.types.data(), nullptr, nullptr,
                 &masks_.classes, nullptr, nullptr, &status, nullptr);
  for (;;) {
    ElementBuffer element{};
    std::int32_t max_words = extract::kElementWords;
    client::ScanPosition at{};
    client::reqele(element.data(), &max_words, &status, nullptr, nullptr, nullptr, nullptr,
                   nullptr, &at, nullptr, nullptr, nullptr);
    if (status == client::kReqeleEndOfDesign) return 0;
    if (status != 0) {
      std::printf("\n*** dgn get error %d ***\n", status);
      std::printf("at Block: %d, Byte: %d\n", static_cast<int>(last_position_.block),
                  static_cast<int>(last_position_.word * 2));
      return kExitScanError;
    }
    last_position_ = at;
    if (client::is_deleted(element[0])) {
      std::printf("\n\nDeleted element selected from file\nCheck input file for currency");
      return kExitDeleted;
    }
    if (const int failed = process_element(element, at, is_design); failed != 0) return failed;
    if (file_records_ >= extract::kMaxRecordsPerFile) {
      std::printf("\n %d point maximum met - will process this many elements now",
                  static_cast<int>(extract::kMaxRecordsPerFile));
      return 0;
    }
  }
}

// Reads a TCB value; prints the failure (and the library's text with it
// when `with_text`) and returns false.
template <typename T>
bool read_tcb(const char* name, T& value, const char* failure, bool with_text) {
  std::int16_t words = sizeof(T) / 2;
  std::int16_t status = 0;
  rdtcbasc(name, &words, &value, &status);
  if (status == 0) return true;
  std::printf(failure, status);
  if (with_text) prt_error(&status);
  return false;
}

int Run::process_file(const std::string& name, bool is_design) {
  std::printf("\n opening %s\n", name.c_str());
  std::fflush(stdout);
  std::int16_t status = 0;
  const std::int16_t mode = 1;
  indfpi(nullptr, name.c_str(), nullptr, nullptr, &mode, nullptr, &status, nullptr);
  if (status != 0) {
    std::printf("\nError %d in indfpi", status);
    return kExitNotOpened;
  }
  std::printf("\n\n Successfully opened %s\n", name.c_str());

  std::int16_t dimension = 0;
  if (!read_tcb("NDICES", dimension, "\n*** tcb read error %d ***\n", true)) {
    dedfpi(nullptr);
    return kExitDimension;
  }
  file_dimension_ = dimension == 3 ? 3 : 2;
  if (is_design) {
    dimension_ = file_dimension_;
    settings_ = std::make_unique<extract::SettingsFile>(pointlist::run_settings_name(ppid_));
    settings_->write_design(dimension_, o_.design_file);
    if (o_.element_list) {
      list_ = std::make_unique<ListOutput>("list." + ppid_);
    } else {
      const int wt_opt = weight_option(o_);
      const bool weighted = wt_opt > 0 || (o_.forced_weighted != 0 && dimension_ == 2);
      const bool flagged = std::getenv("QBT_proc") != nullptr &&
                           std::string_view(std::getenv("QBT_proc")) == "ostrel";
      points_ = std::make_unique<extract::PointOutput>(
          pointlist::unsorted_list_name(ppid_),
          extract::choose_variant(dimension_, weighted, flagged, o_.node_link));
    }
  }
  std::int32_t subunits = 0;
  std::int32_t uors = 0;
  if (!read_tcb("EU.MU", subunits, "\n*** tcb read error %d ***", false)) {
    dedfpi(nullptr);
    return kExitMasterUnits;
  }
  if (!read_tcb("EU.UOR", uors, "\n*** tcb read error %d ***", false)) {
    dedfpi(nullptr);
    return kExitUors;
  }
  uor_per_master_ = static_cast<double>(subunits) * static_cast<double>(uors);
  const auto to_uor = [&](double tolerance) {
    return tolerance > 0 ? tolerance * uor_per_master_ : tolerance;
  };
  tolerances_ = {to_uor(o_.tolerances.arc), to_uor(o_.tolerances.bspline),
                 to_uor(o_.tolerances.curve)};

  client::ScanPosition start{};
  client::dfrset(&start, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, name.c_str(),
                 &status, nullptr);
  int result = 0;
  if (status != 0) {
    std::printf("\n*** dgn get error %d ***\n", status);
    std::printf("at Block: %d, Byte: %d\n", 0, 0);
    result = kExitScanError;
  } else {
    file_records_ = 0;
    last_position_ = {};
    result = scan(is_design);
  }
  if (result != 0) {
    close_outputs();
    dedfpi(nullptr);
    return result;
  }
  std::printf("\n%6d elements identified\n\n", static_cast<int>(file_records_ / 2));
  dedfpi(nullptr);
  client::reset_design_reader();
  return 0;
}

int Run::execute() {
  if (o_.node_link) {
    const char* node = std::getenv("QBT_nodeEnt");
    node_entity_ = node != nullptr ? std::atoi(node) : 0;
  }
  std::vector<std::pair<std::string, bool>> files{{o_.design_file, true}};
  for (const std::string& reference : o_.reference_files) files.emplace_back(reference, false);
  try {
    for (const auto& [name, is_design] : files) {
      if (const int failed = process_file(name, is_design); failed != 0) return failed;
    }
    if (!o_.reference_files.empty()) {
      std::printf("\n%6d elements identified\n\n", static_cast<int>(total_records_ / 2));
    }
    if (points_) points_->close();
    if (list_) list_->close();
    settings_->write_count(total_records_);
    settings_->write_weight_option(weight_option(o_));
    settings_->close();
  } catch (const pointlist::PointListError& error) {
    std::printf("\n*** %s ***\n", error.what());
    close_outputs();
    dedfpi(nullptr);
    return kExitOutput;
  }
  return 0;
}

}  // namespace

int run_pellax(const std::string& program, const std::vector<std::string>& args) {
  std::printf("\nInterpreting QBT_pellax (version %.1f) command line arguments .....\n\n",
              extract::kVersion);
  const char* segpid = std::getenv("QBT_segpid");
  const char* proc = std::getenv("QBT_proc");
  if (segpid == nullptr || *segpid == '\0' || proc == nullptr) {
    std::printf("\nQBT_segpid and QBT_proc must be set - pellax exiting\n");
    return kExitEnvironment;
  }
  connection::set_task_name(program);

  Options options;
  std::string messages;
  const ParseResult parsed = parse_options(args, options, messages);
  std::fputs(messages.c_str(), stdout);
  switch (parsed) {
    case ParseResult::usage: return kExitUsage;
    case ParseResult::invalid_argument: return kExitInvalidArgument;
    case ParseResult::bad_v_check: return kExitVCheck;
    case ParseResult::run: break;
  }
  if (options.debug) {
    for (const char* name : {"MS_FNTLB", "MS_RSRC", "MS_EXE"}) {
      const char* value = std::getenv(name);
      std::printf("\n%s=%s", name, value != nullptr ? value : "");
    }
    const Selection& s = options.selection;
    std::printf("\ntype mask %016llx level mask %016llx class mask %02x style mask %02x weight mask %08x",
                static_cast<unsigned long long>(s.types), static_cast<unsigned long long>(s.levels),
                s.classes, s.styles, s.weights);
  }
  std::printf("\nRUNNING QBT_pellax (version %.1f) .....\n", extract::kVersion);
  Run run(std::move(options), pointlist::ppid_from_segpid(segpid));
  const int code = run.execute();
  std::fflush(stdout);
  return code;
}

}  // namespace vornel::pellax
