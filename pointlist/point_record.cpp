#include "pointlist/point_record.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace vornel::pointlist {
namespace {

// Appends printf output to a fixed line buffer. The buffer is sized for the
// widest record, so a short write here is a programming error, not input.
class LineWriter {
 public:
  explicit LineWriter(std::span<char, kMaxRecordLength> out) : out_(out) {}

  template <typename... Args>
  void put(const char* format, Args... args) {
    const std::size_t room = out_.size() - used_;
    const int n = std::snprintf(out_.data() + used_, room, format, args...);
    if (n > 0) used_ += std::min(static_cast<std::size_t>(n), room - 1);
  }

  std::size_t size() const { return used_; }

 private:
  std::span<char, kMaxRecordLength> out_;
  std::size_t used_ = 0;
};

bool has_flag_column(RecordKind kind) {
  return kind == RecordKind::flagged || kind == RecordKind::weighted;
}

}  // namespace

std::size_t format_point_record(const RecordLayout& layout, const PointRecord& record,
                                std::span<char, kMaxRecordLength> out) {
  LineWriter line(out);
  line.put("%12.2d %12.2d", record.y, record.x);
  if (layout.dimension == 3) line.put(" %12.2d", record.z);
  if (layout.kind != RecordKind::coordinates_only) line.put(" %8d", record.position);

  if (has_flag_column(layout.kind)) {
    switch (record.flag) {
      case PointFlag::interior: line.put("  "); break;
      case PointFlag::last: line.put(" 2"); break;
      default: line.put(" %1d", static_cast<int>(record.flag)); break;
    }
  }
  if (layout.kind == RecordKind::weighted) line.put(" %8d", record.weight);
  if (layout.kind == RecordKind::node_link) line.put(" %12d", record.node_link);
  line.put("\n");
  return line.size();
}

std::size_t record_length(const RecordLayout& layout) {
  std::size_t length = 26;  // Y, blank, X, line feed
  if (layout.dimension == 3) length += 13;
  switch (layout.kind) {
    case RecordKind::plain: return length + 9;
    case RecordKind::node_link: return length + 9 + 13;
    case RecordKind::flagged: return length + 9 + 2;
    case RecordKind::weighted: return length + 9 + 2 + 9;
    case RecordKind::coordinates_only: return length;
  }
  return length;
}

std::string_view describe(ParseError error) {
  switch (error) {
    case ParseError::none: return "no error";
    case ParseError::missing_field: return "too few fields for this point list";
    case ParseError::bad_number: return "a field is not a whole number";
    case ParseError::out_of_range: return "a number is out of range";
    case ParseError::trailing_text: return "unexpected text after the last field";
  }
  return "unknown error";
}

namespace {

// Splits a line into blank-separated fields without copying.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view line) : rest_(line) {}

  bool next(std::string_view& field) {
    skip_blanks();
    if (rest_.empty()) return false;
    std::size_t end = 0;
    while (end < rest_.size() && !is_blank(rest_[end])) ++end;
    field = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return true;
  }

  std::size_t remaining_fields() const {
    FieldCursor copy = *this;
    std::size_t count = 0;
    std::string_view ignored;
    while (copy.next(ignored)) ++count;
    return count;
  }

 private:
  static bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
  void skip_blanks() {
    while (!rest_.empty() && is_blank(rest_.front())) rest_.remove_prefix(1);
  }
  std::string_view rest_;
};

ParseError read_int(FieldCursor& cursor, std::int32_t& value) {
  std::string_view field;
  if (!cursor.next(field)) return ParseError::missing_field;
  const char* first = field.data();
  const char* last = field.data() + field.size();
  if (first != last && *first == '+') ++first;
  std::int64_t wide = 0;
  const auto [end, ec] = std::from_chars(first, last, wide);
  if (ec == std::errc::result_out_of_range) return ParseError::out_of_range;
  if (ec != std::errc() || end != last) return ParseError::bad_number;
  if (wide < std::numeric_limits<std::int32_t>::min() ||
      wide > std::numeric_limits<std::int32_t>::max())
    return ParseError::out_of_range;
  value = static_cast<std::int32_t>(wide);
  return ParseError::none;
}

}  // namespace

ParseError parse_point_record(const RecordLayout& layout, std::string_view line,
                              PointRecord& record) {
  FieldCursor cursor(line);
  PointRecord parsed;
  ParseError error = ParseError::none;
  auto read = [&](std::int32_t& value) {
    if (error == ParseError::none) error = read_int(cursor, value);
  };

  read(parsed.y);
  read(parsed.x);
  if (layout.dimension == 3) read(parsed.z);
  if (layout.kind != RecordKind::coordinates_only) read(parsed.position);

  if (error == ParseError::none && has_flag_column(layout.kind)) {
    // An interior vertex leaves the flag column blank, which shows only as
    // one field fewer.
    const std::size_t full = layout.kind == RecordKind::weighted ? 2 : 1;
    if (cursor.remaining_fields() < full) {
      parsed.flag = PointFlag::interior;
    } else {
      std::int32_t flag = 0;
      read(flag);
      if (error == ParseError::none && (flag < 0 || flag > 2)) error = ParseError::out_of_range;
      parsed.flag = static_cast<PointFlag>(flag);
    }
  }
  if (layout.kind == RecordKind::weighted) read(parsed.weight);
  if (layout.kind == RecordKind::node_link) read(parsed.node_link);

  if (error != ParseError::none) return error;
  if (cursor.remaining_fields() != 0) return ParseError::trailing_text;
  record = parsed;
  return ParseError::none;
}

}  // namespace vornel::pointlist
