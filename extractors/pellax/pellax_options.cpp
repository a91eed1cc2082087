#include "extractors/pellax/pellax_options.h"

#include <cstdio>
#include <string_view>

#include "extractors/common/number_list.h"

namespace vornel::pellax {
namespace {

using extract::for_each_listed;
using extract::leading_double;
using extract::leading_int;

constexpr int kMaxEntity = 65535;

const char* const kInvalidArgument =
    "\n\nInvalid command argument %d - %s\n\npellax exiting abnormally\n\n";

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Options of the joiner that take a value: pellax steps over them with it.
bool is_joiner_option_with_value(std::string_view a) {
  for (std::string_view exact : {"-AR", "-CD", "-J", "-L", "-M", "-m", "-S", "-V", "-XYZ", "-Z",
                                 "-a", "-label"}) {
    if (a == exact) return true;
  }
  // Families whose every spelling takes a value in the joiner too
  // (-BC and -BD beside -B, -OA and -OF beside -O, -DB and -Db beside -D).
  for (std::string_view family : {"-B", "-D", "-I", "-O"}) {
    if (starts_with(a, family)) return true;
  }
  return starts_with(a, "-P") && a != "-P";
}

// Options whose value is optional: the next argument is taken when it does
// not begin with "-".
bool is_optional_value_option(std::string_view a) {
  for (std::string_view letter : {"-N", "-Q", "-q", "-T", "-W", "-z", "-s"}) {
    if (starts_with(a, letter)) return true;
  }
  return false;
}

std::string format(const char* pattern, int number, const std::string& text) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, pattern, number, text.c_str());
  return buffer;
}

void set_bit(std::uint64_t& mask, int bit) { mask |= 1ULL << bit; }

constexpr int kBsplineParts[] = {21, 26, 27, 28};

}  // namespace

const char* const kUsageText =
    "\nQBT_pellax is run using the following command line arguments:\n\n"
    "QBT_pellax -F dgnname [-ll levels] [-e types] [-lo colors] [-ls styles]\n"
    "             [-lc classes] [-lw weights] [-E entity_num(s)] [-u user_ent_word]\n"
    "             [-sa stroke_tolerance] [-sc stroke_tolerance]\n\n"
    "subject to the definitions in the README file\n\n";

int weight_option(const Options& options) {
  return options.weights_off ? 0 : static_cast<int>(options.weights.option());
}

ParseResult parse_options(const std::vector<std::string>& args, Options& o,
                          std::string& messages) {
  for (const std::string& a : args) {
    if (a == "-d" || (starts_with(a, "-d") && a != "-del17" && a != "-delete")) o.debug = true;
  }
  Selection& s = o.selection;
  std::size_t i = 0;
  // The next argument as a value; empty when there is none.
  const auto value = [&]() -> std::string {
    if (i + 1 >= args.size()) return {};
    return args[++i];
  };
  const auto optional_value = [&]() -> std::string {
    if (i + 1 >= args.size() || starts_with(args[i + 1], "-")) return {};
    return args[++i];
  };
  const auto tolerance = [&](bool& flag, double& tol) {
    flag = true;
    const std::string v = optional_value();
    if (!v.empty()) tol = leading_double(v);
  };

  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (o.debug) messages += format("\narg %d = %s", static_cast<int>(i), a);
    if (!starts_with(a, "-")) {
      messages += format(kInvalidArgument, static_cast<int>(i), a);
      return ParseResult::invalid_argument;
    }
    if (a == "-F") {
      o.design_file = value();
    } else if (starts_with(a, "-F") && a.size() > 2 && a[2] == 'R') {
      std::string name = value();
      if (static_cast<int>(o.reference_files.size()) >= kMaxReferenceFiles) {
        messages += "\nNumber of reference files (10) exceeded - process exitting\n";
      } else {
        o.reference_files.push_back(name);
      }
    } else if (a == "-label") {
      value();
    } else if (a == "-etak") {
      // The joiner's switch: no value.
    } else if (starts_with(a, "-e")) {
      s.types = 0;
      if (o.stroke_arcs) set_bit(s.types, 16 - 1);
      if (o.stroke_bsplines) {
        for (int t : kBsplineParts) set_bit(s.types, t - 1);
      }
      for_each_listed(value(), 1, 27, [&](int t) {
        if (t == 14) return;
        set_bit(s.types, t - 1);
        if (t == 16) o.stroke_arcs = true;
        if (t == 27) {
          o.stroke_bsplines = true;
          for (int part : kBsplineParts) set_bit(s.types, part - 1);
          if (o.debug) messages += "\nsetting element mask for 21,26,27,28\n";
        }
      });
    } else if (a == "-lc") {
      s.classes = 0;
      for_each_listed(value(), 0, 7, [&](int c) { s.classes |= static_cast<std::uint8_t>(1U << c); });
    } else if (a == "-lo") {
      s.colors = {};
      s.check_colors = true;
      for_each_listed(value(), 0, 255, [&](int c) {
        s.colors[static_cast<std::size_t>(c / 64)] |= 1ULL << (c % 64);
      });
    } else if (a == "-ls") {
      s.styles = 0;
      s.check_styles = true;
      for_each_listed(value(), 0, 7, [&](int st) { s.styles |= static_cast<std::uint8_t>(1U << st); });
    } else if (a == "-lw") {
      s.weights = 0;
      s.check_weights = true;
      for_each_listed(value(), 0, 30, [&](int w) { s.weights |= 1U << w; });
    } else if (starts_with(a, "-l")) {
      s.levels = 0;
      for_each_listed(value(), 1, 63, [&](int l) { set_bit(s.levels, l - 1); });
    } else if (a == "-E") {
      s.check_entities = true;
      s.entities.assign(kMaxEntity + 1, 0);
      for_each_listed(value(), 0, kMaxEntity,
                      [&](int e) { s.entities[static_cast<std::size_t>(e)] = 1; });
    } else if (a == "-u") {
      s.user_word = leading_int(value());
    } else if (a == "-sa") {
      tolerance(o.stroke_arcs, o.tolerances.arc);
      set_bit(s.types, 16 - 1);
    } else if (a == "-sb") {
      tolerance(o.stroke_bsplines, o.tolerances.bspline);
      for (int t : kBsplineParts) set_bit(s.types, t - 1);
    } else if (a == "-sc") {
      tolerance(o.stroke_curves, o.tolerances.curve);
    } else if (a == "-SH") {
      value();
      set_bit(s.types, 6 - 1);
    } else if (a == "-i") {
      o.interior = true;
    } else if (a == "-r") {
      o.element_list = true;
    } else if (a == "-v") {
      const int v = leading_int(value());
      if (v < 1 || v > 101) {
        messages += "\nInvalid v_check value";
        return ParseResult::bad_v_check;
      }
      o.v_check = v;
    } else if (extract::WeightTable::is_weight_option(a)) {
      o.weights.apply(a, value());
    } else if (a == "-XYZ") {
      value();
    } else if (starts_with(a, "-X") && a != "-XL") {
      o.forced_weighted = leading_int(value());
    } else if (a == "-ID_L2N" || a == "-ID_N2L" || a == "-PN" || a == "-PNU") {
      value();
      o.node_link = true;
    } else if (starts_with(a, "-d") && a != "-del17" && a != "-delete") {
      optional_value();
    } else if (starts_with(a, "-f") || starts_with(a, "-g")) {
      optional_value();
      o.weights_off = true;
    } else if (a == "-h") {
      messages += kUsageText;
      return ParseResult::usage;
    } else if (is_joiner_option_with_value(a)) {
      value();
    } else if (is_optional_value_option(a)) {
      optional_value();
    }
    // Every other option is the joiner's and takes no value.
  }
  return ParseResult::run;
}

}  // namespace vornel::pellax
