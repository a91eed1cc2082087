#include "tools/dgnmake/description_parser.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "client/records/linkages.hpp"

namespace vornel::dgnmake {
namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

[[noreturn]] void fail(int line, const std::string& message) {
  throw DescriptionError("line " + std::to_string(line) + ": " + message);
}

// Splits a line into words, quoted strings, and the marks ':', '{', '}';
// '#' outside quotes starts a comment.
std::vector<Token> tokenize(std::string_view text, int line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '#') break;
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == ':' || c == '{' || c == '}') {
      tokens.push_back({std::string(1, c)});
      ++i;
    } else if (c == '"') {
      std::string value;
      ++i;
      while (i < text.size() && text[i] != '"') {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        value += text[i++];
      }
      if (i >= text.size()) fail(line, "unterminated string");
      ++i;
      tokens.push_back({value, true});
    } else {
      std::size_t end = i;
      while (end < text.size() && std::string_view(" \t\r:{}#\"").find(text[end]) ==
                                      std::string_view::npos) {
        ++end;
      }
      tokens.push_back({std::string(text.substr(i, end - i))});
      i = end;
    }
  }
  return tokens;
}

std::int64_t parse_integer(const std::string& text, int line) {
  std::int64_t value = 0;
  int base = 10;
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    base = 16;
    digits.remove_prefix(2);
  }
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    fail(line, "not an integer: " + text);
  }
  return negative ? -value : value;
}

int parse_ranged(const std::string& text, int low, int high, const char* what, int line) {
  const std::int64_t value = parse_integer(text, line);
  if (value < low || value > high) {
    fail(line, std::string(what) + " must be " + std::to_string(low) + " to " +
                   std::to_string(high) + ": " + text);
  }
  return static_cast<int>(value);
}

std::int32_t parse_coordinate(const std::string& text, int line) {
  const std::int64_t value = parse_integer(text, line);
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    fail(line, "coordinate out of range: " + text);
  }
  return static_cast<std::int32_t>(value);
}

double parse_real(const std::string& text, int line) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    fail(line, "not a number: " + text);
  }
  return value;
}

std::vector<std::string> split(const std::string& text, char mark) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(mark, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

std::vector<double> parse_reals(const std::string& text, std::size_t low, std::size_t high,
                                const char* what, int line) {
  std::vector<double> values;
  for (const std::string& part : split(text, ',')) values.push_back(parse_real(part, line));
  if (values.size() < low || values.size() > high) fail(line, std::string("bad ") + what);
  return values;
}

Point parse_point(const std::string& text, int line) {
  const auto parts = split(text, ',');
  if (parts.size() < 2 || parts.size() > 3) fail(line, "a point is X,Y or X,Y,Z: " + text);
  Point p{parse_coordinate(parts[0], line), parse_coordinate(parts[1], line), 0};
  if (parts.size() == 3) p.z = parse_coordinate(parts[2], line);
  return p;
}

std::pair<std::uint16_t, std::uint32_t> parse_link(const std::string& text, int line) {
  const auto parts = split(text, '/');
  if (parts.size() != 2) fail(line, "a linkage is ENTITY/MSLINK: " + text);
  return {static_cast<std::uint16_t>(parse_ranged(parts[0], 0, 65535, "entity", line)),
          static_cast<std::uint32_t>(parse_ranged(parts[1], 0, 0xFFFFFF, "mslink", line))};
}

const std::map<std::string, Kind, std::less<>>& kinds() {
  static const std::map<std::string, Kind, std::less<>> table = {
      {"line", Kind::line},       {"linestring", Kind::line_string},
      {"shape", Kind::shape},     {"curve", Kind::curve},
      {"arc", Kind::arc},         {"ellipse", Kind::ellipse},
      {"text", Kind::text},       {"textnode", Kind::text_node},
      {"cell", Kind::cell},       {"chain", Kind::complex_chain},
      {"cshape", Kind::complex_shape}, {"bspline", Kind::bspline},
  };
  return table;
}

void apply_attribute(ElementSpec& e, const std::string& token, int line) {
  Attributes& a = e.attributes;
  const std::size_t eq = token.find('=');
  if (eq == std::string::npos) {
    if (token == "deleted") {
      a.deleted = true;
    } else if (token == "closed") {
      e.closed = true;
    } else {
      fail(line, "unknown flag: " + token);
    }
    return;
  }
  const std::string key = token.substr(0, eq);
  const std::string value = token.substr(eq + 1);
  if (key == "level") a.level = parse_ranged(value, 0, 63, "level", line);
  else if (key == "color") a.color = parse_ranged(value, 0, 255, "color", line);
  else if (key == "weight") a.weight = parse_ranged(value, 0, 31, "weight", line);
  else if (key == "style") a.style = parse_ranged(value, 0, 7, "style", line);
  else if (key == "class") a.element_class = parse_ranged(value, 0, 15, "class", line);
  else if (key == "gg") a.graphic_group = static_cast<std::uint16_t>(parse_ranged(value, 0, 65535, "gg", line));
  else if (key == "props") {
    a.properties = static_cast<std::uint16_t>(parse_ranged(value, 0, 0xFFF0, "props", line) & 0xFFF0);
  } else if (key == "link") {
    const auto [entity, mslink] = parse_link(value, line);
    a.linkages.push_back(client::database_linkage(entity, mslink));
  } else if (key == "ulink") {
    const auto [entity, mslink] = parse_link(value, line);
    a.linkages.push_back(client::user_database_linkage(entity, mslink));
  } else if (key == "origin") e.origin = parse_point(value, line);
  else if (key == "axes") {
    const auto v = parse_reals(value, 2, 2, "axes (PRIMARY,SECONDARY)", line);
    e.primary_axis = v[0];
    e.secondary_axis = v[1];
  } else if (key == "rotation") e.rotation = parse_real(value, line);
  else if (key == "start") e.start_angle = parse_real(value, line);
  else if (key == "sweep") e.sweep_angle = parse_real(value, line);
  else if (key == "size") {
    const auto v = parse_reals(value, 2, 2, "size (WIDTH,HEIGHT)", line);
    e.text_width = v[0];
    e.text_height = v[1];
  } else if (key == "spacing") e.line_spacing = parse_real(value, line);
  else if (key == "font") e.font = parse_ranged(value, 0, 255, "font", line);
  else if (key == "just") e.justification = parse_ranged(value, 0, 255, "just", line);
  else if (key == "name") {
    if (value.empty() || value.size() > 6) fail(line, "a cell name has 1 to 6 characters");
    e.name = value;
  } else if (key == "order") e.order = parse_ranged(value, 2, 15, "order", line);
  else fail(line, "unknown key: " + key);
}

void check_points(const ElementSpec& e, int line) {
  const std::size_t n = e.points.size();
  switch (e.kind) {
    case Kind::line:
      if (n != 2) fail(line, "a line has 2 points");
      break;
    case Kind::line_string:
    case Kind::shape:
    case Kind::curve:
      if (n < 2) fail(line, "at least 2 points are needed");
      break;
    default:
      if (n != 0) fail(line, "this element takes no points after ':'");
  }
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  DesignDescription run() {
    std::size_t start = 0;
    while (start <= text_.size()) {
      std::size_t end = text_.find('\n', start);
      if (end == std::string_view::npos) end = text_.size();
      ++line_;
      handle(tokenize(text_.substr(start, end - start), line_));
      start = end + 1;
    }
    if (!stack_.empty()) fail(line_, "missing '}'");
    return std::move(result_);
  }

 private:
  void handle(std::vector<Token> tokens) {
    if (tokens.empty()) return;
    if (tokens.size() == 1 && tokens[0].text == "}" && !tokens[0].quoted) {
      if (stack_.empty()) fail(line_, "'}' without '{'");
      ElementSpec done = std::move(stack_.back());
      stack_.pop_back();
      if (done.kind == Kind::bspline && done.points.empty()) fail(line_, "a B-spline needs poles");
      add(std::move(done));
      return;
    }
    const std::string& word = tokens[0].text;
    if (stack_.empty() && (word == "dimension" || word == "units" || word == "origin")) {
      global(tokens);
      return;
    }
    if (!stack_.empty() && stack_.back().kind == Kind::bspline) {
      bspline_part(tokens);
      return;
    }
    const auto kind = kinds().find(word);
    if (kind == kinds().end() || tokens[0].quoted) fail(line_, "unknown element kind: " + word);
    ElementSpec e;
    e.kind = kind->second;
    e.line_number = line_;
    bool opens = false;
    if (tokens.back().text == "{" && !tokens.back().quoted) {
      opens = true;
      tokens.pop_back();
    }
    std::size_t i = 1;
    for (; i < tokens.size() && !(tokens[i].text == ":" && !tokens[i].quoted); ++i) {
      apply_attribute(e, tokens[i].text, line_);
    }
    if (i < tokens.size()) {  // after ':'
      ++i;
      if (e.kind == Kind::text) {
        if (i + 1 != tokens.size() || !tokens[i].quoted) fail(line_, "text takes one \"string\"");
        e.text = tokens[i].text;
        if (e.text.empty() || e.text.size() > 255) fail(line_, "text has 1 to 255 characters");
      } else {
        std::vector<std::int32_t> numbers;
        for (; i < tokens.size(); ++i) numbers.push_back(parse_coordinate(tokens[i].text, line_));
        const std::size_t d = static_cast<std::size_t>(result_.dimension);
        if (numbers.size() % d != 0) fail(line_, "coordinates come in groups of " + std::to_string(d));
        for (std::size_t k = 0; k < numbers.size(); k += d) {
          e.points.push_back({numbers[k], numbers[k + 1], d == 3 ? numbers[k + 2] : 0});
        }
      }
    }
    if (e.kind == Kind::text && e.text.empty()) fail(line_, "text needs : \"string\"");
    const bool group = e.kind == Kind::text_node || e.kind == Kind::cell ||
                       e.kind == Kind::complex_chain || e.kind == Kind::complex_shape ||
                       e.kind == Kind::bspline;
    if (group != opens) fail(line_, group ? "this element opens a '{' block" : "unexpected '{'");
    if (e.kind != Kind::bspline) check_points(e, line_);
    if (!stack_.empty() && stack_.back().kind == Kind::text_node && e.kind != Kind::text) {
      fail(line_, "a text node holds texts only");
    }
    if (opens) {
      stack_.push_back(std::move(e));
    } else {
      add(std::move(e));
    }
  }

  void bspline_part(const std::vector<Token>& tokens) {
    ElementSpec& b = stack_.back();
    if (tokens.size() < 2 || tokens[1].text != ":") fail(line_, "expected poles, knots or weights ':'");
    const std::string& what = tokens[0].text;
    const std::size_t d = static_cast<std::size_t>(result_.dimension);
    if (what == "poles") {
      std::vector<std::int32_t> numbers;
      for (std::size_t i = 2; i < tokens.size(); ++i) numbers.push_back(parse_coordinate(tokens[i].text, line_));
      if (numbers.size() % d != 0 || numbers.size() < 2 * d) fail(line_, "poles need at least 2 points");
      for (std::size_t k = 0; k < numbers.size(); k += d) {
        b.points.push_back({numbers[k], numbers[k + 1], d == 3 ? numbers[k + 2] : 0});
      }
    } else if (what == "knots" || what == "weights") {
      auto& list = what == "knots" ? b.knots : b.weights;
      for (std::size_t i = 2; i < tokens.size(); ++i) {
        const double v = parse_real(tokens[i].text, line_);
        if (v < 0 || v > 1 || (what == "weights" && v == 0)) fail(line_, what + " lie in (0, 1]");
        list.push_back(v);
      }
    } else {
      fail(line_, "a B-spline holds poles, knots and weights: " + what);
    }
  }

  void global(const std::vector<Token>& t) {
    const std::string& word = t[0].text;
    if (word == "dimension") {
      if (t.size() != 2 || (t[1].text != "2" && t[1].text != "3")) fail(line_, "dimension 2 or 3");
      if (!result_.elements.empty()) fail(line_, "dimension comes before the elements");
      result_.dimension = t[1].text == "3" ? client::Dimension::three : client::Dimension::two;
    } else if (word == "units") {
      if (t.size() != 3 && t.size() != 5) fail(line_, "units SUBUNITS UORS [MASTER SUB]");
      result_.subunits_per_master = parse_ranged(t[1].text, 1, 0x7FFFFFFF, "subunits", line_);
      result_.uors_per_subunit = parse_ranged(t[2].text, 1, 0x7FFFFFFF, "UORs", line_);
      if (t.size() == 5) {
        if (t[3].text.size() > 2 || t[4].text.size() > 2) fail(line_, "unit names have 2 characters");
        result_.master_name = t[3].text;
        result_.sub_name = t[4].text;
      }
    } else {
      if (t.size() != 3 && t.size() != 4) fail(line_, "origin X Y [Z]");
      for (std::size_t i = 1; i < t.size(); ++i) result_.global_origin[i - 1] = parse_real(t[i].text, line_);
    }
  }

  void add(ElementSpec e) {
    if (stack_.empty()) {
      result_.elements.push_back(std::move(e));
    } else {
      stack_.back().children.push_back(std::move(e));
    }
  }

  std::string_view text_;
  int line_ = 0;
  DesignDescription result_;
  std::vector<ElementSpec> stack_;
};

}  // namespace

DesignDescription parse_design_description(std::string_view text) {
  return Parser(text).run();
}

}  // namespace vornel::dgnmake
