#include "extractors/common/extraction_limits.h"
#include "extractors/quillet/quillet_run.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include "client/connection/host_connection.h"
#include "client/listfile/element_list.hpp"
#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "client/session/session.h"
#include "extractors/common/element_points.h"
#include "extractors/common/geometry_operations.h"
#include "extractors/common/point_output.h"
#include "extractors/common/settings_file.h"
#include "extractors/quillet/quillet_options.h"
#include "pointlist/point_list_file.h"

namespace vornel::quillet {
namespace {

namespace el = client::element;

constexpr std::int32_t kFetchWords = 3120;  // the element and three B-spline components
constexpr std::int32_t kListRecordBytes = 72;
constexpr std::size_t kNameOffset = 8;

// Exit codes.
constexpr int kExitInvalidArgument = -999;
constexpr int kExitNodeOptions = -99;
constexpr int kExitListNotOpened = 1;
constexpr int kExitCriteria = 2;
constexpr int kExitEnvironment = 3;
constexpr int kExitNoFileSpecification = 4;
constexpr int kExitNotOpened = 5;
constexpr int kExitFetch = 6;
constexpr int kExitDeleted = 7;
constexpr int kExitDimension = 9;
constexpr int kExitMasterUnits = 11;
constexpr int kExitUors = 12;
constexpr int kExitOutput = 13;

// The element in hand and up to three B-spline components, back to back.
using ElementBuffer = std::array<std::uint16_t, kFetchWords>;
using ListRecord = std::array<std::uint8_t, kListRecordBytes>;

std::span<const std::uint8_t> element_bytes(const std::uint16_t* words, std::size_t room) {
  const std::size_t size = std::min<std::size_t>(std::size_t{words[1]} + 2, room);
  return {reinterpret_cast<const std::uint8_t*>(words), size * 2};
}

std::int32_t reference_position(const ListRecord& reference) {
  const std::uint32_t block = client::get_word(reference.data(), 8);
  const std::uint32_t byte = client::get_word(reference.data(), 10);
  return static_cast<std::int32_t>(block * 512 + byte % 512);
}

// The design file name of a file specification record: from byte 8 up to
// its first zero byte, or to the end of what was read.
std::string specification_name(const ListRecord& record) {
  const char* text = reinterpret_cast<const char*>(record.data() + kNameOffset);
  return std::string(text, strnlen(text, record.size() - kNameOffset));
}

class Run {
 public:
  Run(Options options, std::string ppid) : o_(std::move(options)), ppid_(std::move(ppid)) {}
  int execute(extract::SettingsFile& settings);

 private:
  int open_design(extract::SettingsFile& settings);
  int loop(extract::SettingsFile& settings);
  // Reads the next element into the buffer: 0, or the list status that ends
  // the loop; a fetch failure sets `exit_code`.
  std::int16_t next_element(ListRecord& reference, int& exit_code);
  int fetch(const ListRecord& reference, std::uint16_t* into);
  int points_of(int kind, std::span<const std::uint8_t> element, const ListRecord& reference);
  std::int16_t read_reference(ListRecord& reference);
  void close_all();

  Options o_;
  std::string ppid_;
  std::int16_t list_id_ = 0;
  std::uint8_t record_type_ = client::kUlfFileSpecification;  // read by the list through its address
  std::string design_file_;
  int dimension_ = 2;
  extract::StrokeTolerances tolerances_;
  std::unique_ptr<extract::PointOutput> points_;
  ElementBuffer element_{};
  std::optional<std::pair<ElementBuffer, ListRecord>> pending_;  // fetched during a look-ahead
  bool list_ended_ = false;  // the look-ahead met the end of the list
  std::vector<extract::Vertex> vertices_;
  bool flagged_ = false;
};

void Run::close_all() {
  std::int16_t status = 0;
  client::io_ulfcls(&list_id_, &status);
  try {
    if (points_) points_->close();
  } catch (const pointlist::PointListError&) {
  }
}

std::int16_t Run::read_reference(ListRecord& reference) {
  std::int16_t status = 0;
  const std::int32_t max_bytes = kListRecordBytes;
  client::io_ulfget(&list_id_, &max_bytes, reference.data(), &status);
  if (status == client::kUlfTruncated) {
    std::printf("\n*** warning ulf record truncated ***");
    status = 0;
  }
  return status;
}

int Run::fetch(const ListRecord& reference, std::uint16_t* into) {
  std::int16_t status = 0;
  const std::int32_t max_words = kFetchWords;
  client::io_ulfgte(&list_id_, reference.data(), &max_words, into, &status);
  if (status == 0) return 0;
  const auto position = static_cast<std::uint32_t>(reference_position(reference));
  std::printf("\n*** dgn get error %d ***\n", status);
  std::printf("at Block: %d, Byte: %d\n", static_cast<int>(position / 512),
              static_cast<int>(position % 512));
  return kExitFetch;
}

std::int16_t Run::next_element(ListRecord& reference, int& exit_code) {
  if (pending_) {
    const auto& [element, record] = *pending_;
    const std::size_t words = std::min<std::size_t>(std::size_t{element[1]} + 2, extract::kElementWords);
    std::copy_n(element.begin(), words, element_.begin());
    reference = record;
    pending_.reset();
    return 0;
  }
  if (list_ended_) return client::kUlfEndOfList;
  const std::int16_t status = read_reference(reference);
  if (status != 0) return status;
  exit_code = fetch(reference, element_.data());
  return 0;
}

int Run::points_of(int kind, std::span<const std::uint8_t> element, const ListRecord& reference) {
  const std::int32_t position = reference_position(reference);
  if (kind == el::complex_chain) {
    extract::expand_complex_chain(element, position, dimension_, true, tolerances_, vertices_);
  } else if (kind == el::arc || kind == el::curve) {
    extract::stroke_arc_or_curve(element, kind == el::arc ? tolerances_.arc : tolerances_.curve,
                                 dimension_, vertices_);
  } else if (kind == el::bspline_curve) {
    // Gather the components that follow the curve in the list, each into
    // the next record of the element buffer.
    std::vector<std::span<const std::uint8_t>> components;
    for (int n = 0; n < extract::kBsplineLookAhead; ++n) {
      ListRecord next{};
      const std::int16_t list_status = read_reference(next);
      if (list_status != 0) {
        list_ended_ = list_status == client::kUlfEndOfList;
        break;
      }
      std::uint16_t* slot = element_.data() + extract::kElementWords * static_cast<std::size_t>(n + 1);
      const std::size_t room = element_.size() - extract::kElementWords * static_cast<std::size_t>(n + 1);
      ElementBuffer fetched{};
      if (const int failed = fetch(next, fetched.data()); failed != 0) return failed;
      const int type = client::element_type(fetched[0]);
      if (type != el::bspline_pole && type != el::bspline_knot && type != el::bspline_weight) {
        pending_.emplace(fetched, next);
        break;
      }
      const std::size_t words = std::min<std::size_t>(std::size_t{fetched[1]} + 2, room);
      std::copy_n(fetched.begin(), words, slot);
      components.push_back(element_bytes(slot, room));
    }
    if (components.empty()) {
      vertices_.clear();
      return 0;
    }
    extract::stroke_bspline_curve(element, components, tolerances_.bspline, dimension_,
                                  vertices_);
  } else if (extract::read_element_points(element, dimension_, true, vertices_) !=
             extract::PointsResult::ok) {
    std::printf("\n*** element at Block: %d, Byte: %d is shorter than its counts - skipped ***\n",
                static_cast<int>(position / 512), static_cast<int>(position % 512));
    vertices_.clear();
  }
  // Stroke statuses are not reported: the points are what the stroke gave.
  return 0;
}

int Run::loop(extract::SettingsFile& settings) {
  std::int64_t count = 0;
  for (;;) {
    ListRecord reference{};
    int exit_code = 0;
    const std::int16_t status = next_element(reference, exit_code);
    if (exit_code != 0) {
      close_all();
      settings.close();
      dedfpi(nullptr);
      return exit_code;
    }
    if (status != 0) {
      if (status != client::kUlfEndOfList) std::printf("\n*** ulf-get error %d ***\n", status);
      break;
    }
    const std::span<const std::uint8_t> element = element_bytes(element_.data(), extract::kElementWords);
    const std::uint16_t first = element_[0];
    if (client::is_deleted(first)) {
      std::printf("\n\nDeleted element found in list file\nCheck input file for currency");
      dedfpi(nullptr);
      return kExitDeleted;
    }
    const int type = client::element_type(first);
    switch (type) {
      case el::cell_header: case el::line: case el::line_string: case el::shape:
      case el::text_node: case el::curve: case el::complex_chain: case el::ellipse:
      case el::arc: case el::text: case el::bspline_curve:
        break;
      default:
        continue;
    }
    if (client::is_complex_component(first)) continue;
    if (const int failed = points_of(type, element, reference); failed != 0) {
      close_all();
      dedfpi(nullptr);
      return failed;
    }
    const std::uint16_t symbology = client::get_word(element.data(), client::kMemorySymbologyOffset);
    extract::ElementRecords records;
    records.position = reference_position(reference);
    records.point_like = extract::is_point_like(type);
    if (o_.weights.option() != extract::WeightOption::none) {
      records.weight = static_cast<std::int16_t>(
          o_.weights.weight_of(type, symbology >> 8, client::element_level(first)));
    }
    const std::int64_t before = count;
    count += points_->write_element(vertices_, records);
    if (count / extract::kProgressInterval > before / extract::kProgressInterval) {
      std::printf("\n%6d elements identified\n", static_cast<int>(count / 2));
    }
    if (count >= extract::kMaxRecordsPerFile) {
      std::printf("\n %d point maximum met - will process this many elements now",
                  static_cast<int>(extract::kMaxRecordsPerFile));
      std::int16_t list_status = 0;
      client::io_ulfcls(&list_id_, &list_status);
      dedfpi(nullptr);
      points_->close();
      settings.write_count(count);
      settings.close();
      return 0;
    }
  }
  std::printf("\n%6d elements identified\n\n", static_cast<int>(count / 2));
  std::int16_t list_status = 0;
  client::io_ulfcls(&list_id_, &list_status);
  points_->close();
  settings.write_count(count);
  settings.write_weight_option(static_cast<int>(o_.weights.option()));
  settings.close();
  dedfpi(nullptr);
  return 0;
}

int Run::open_design(extract::SettingsFile& settings) {
  std::printf("\n opening %s\n", design_file_.c_str());
  std::fflush(stdout);
  std::int16_t status = 0;
  const std::int16_t mode = 1;
  indfpi(nullptr, design_file_.c_str(), nullptr, nullptr, &mode, nullptr, &status, nullptr);
  if (status != 0) {
    std::printf("\nError %d in indfpi\n", status);
    return kExitNotOpened;
  }
  std::printf("\n successfully opened %s\n", design_file_.c_str());

  std::int16_t words = 1;
  std::int16_t dimension = 0;
  rdtcbasc("NDICES", &words, &dimension, &status);
  if (status != 0) {
    std::printf("\n*** tcb read error %d ***", status);
    return kExitDimension;
  }
  dimension_ = dimension == 3 ? 3 : 2;
  settings.write_design(dimension_, design_file_);
  std::int32_t subunits = 0;
  std::int32_t uors = 0;
  words = 2;
  rdtcbasc("EU.MU", &words, &subunits, &status);
  if (status != 0) {
    std::printf("\n*** tcb read error %d ***", status);
    return kExitMasterUnits;
  }
  rdtcbasc("EU.UOR", &words, &uors, &status);
  if (status != 0) {
    std::printf("\n*** tcb read error %d ***", status);
    return kExitUors;
  }
  // The factor is a 32-bit integer: wider products wrap as they always did,
  // computed without undefined overflow.
  const auto factor = static_cast<std::int32_t>(static_cast<std::uint32_t>(subunits) *
                                                static_cast<std::uint32_t>(uors));
  const auto to_uor = [&](double t) { return t > 0 ? t * factor : t; };
  tolerances_ = {to_uor(o_.tolerances.arc), to_uor(o_.tolerances.bspline),
                 to_uor(o_.tolerances.curve)};
  return 0;
}

int Run::execute(extract::SettingsFile& settings) {
  std::int16_t status = 0;
  client::io_ulfopr(&list_id_, o_.list_file.c_str(), &status);
  if (status != 0) {
    std::printf("\n*** ulf file - %s - opening error %d ***\n", o_.list_file.c_str(), status);
    return kExitListNotOpened;
  }
  const std::int16_t selector = 0;
  const std::int16_t one = 1;
  client::io_ulfcri(&list_id_, &selector, &one, &record_type_, &status);
  if (status != 0) {
    std::printf("\n*** ulf criteria error %d ***\n", status);
    return kExitCriteria;
  }
  ListRecord specification{};
  const std::int32_t max_bytes = kListRecordBytes;
  client::io_ulfget(&list_id_, &max_bytes, specification.data(), &status);
  if (status != 0) {
    if (status != client::kUlfEndOfList) {
      std::printf("\n*** ulf-get error %d on initial read ***\n", status);
    }
    client::io_ulfcls(&list_id_, &status);
    return kExitNoFileSpecification;
  }
  design_file_ = specification_name(specification);
  if (const int failed = open_design(settings); failed != 0) return failed;

  record_type_ = client::kUlfElementReference;
  flagged_ = std::getenv("QBT_proc") != nullptr && std::string_view(std::getenv("QBT_proc")) == "ostrel";
  extract::OutputVariant variant;
  if (o_.coordinates_only) {
    variant = {dimension_, pointlist::RecordKind::coordinates_only};
  } else {
    variant = extract::choose_variant(dimension_, o_.weights.option() != extract::WeightOption::none,
                                      flagged_, false);
  }
  points_ = std::make_unique<extract::PointOutput>(pointlist::unsorted_list_name(ppid_), variant);
  return loop(settings);
}

}  // namespace

int run_quillet(const std::string& program, const std::vector<std::string>& args) {
  const char* segpid = std::getenv("QBT_segpid");
  const char* proc = std::getenv("QBT_proc");
  if (segpid == nullptr || *segpid == '\0' || proc == nullptr) {
    std::printf("\nQBT_segpid and QBT_proc must be set - quillet exiting\n");
    return kExitEnvironment;
  }
  connection::set_task_name(program);
  const std::string ppid = pointlist::ppid_from_segpid(segpid);
  int code = 0;
  try {
    extract::SettingsFile settings(pointlist::run_settings_name(ppid));
    Options options;
    std::string messages;
    const ParseResult parsed = parse_options(args, options, messages);
    std::fputs(messages.c_str(), stdout);
    if (parsed == ParseResult::invalid_argument) return kExitInvalidArgument;
    if (parsed == ParseResult::node_options) return kExitNodeOptions;
    std::printf("\nRUNNING QBT_quillet (version %.1f) .....\n", extract::kVersion);
    Run run(std::move(options), ppid);
    code = run.execute(settings);
  } catch (const pointlist::PointListError& error) {
    std::printf("\n*** %s ***\n", error.what());
    dedfpi(nullptr);
    code = kExitOutput;
  }
  std::fflush(stdout);
  return code;
}

}  // namespace vornel::quillet
