#include "extractors/quillet/quillet_options.h"

#include <cstdio>
#include <string_view>

#include "extractors/common/number_list.h"

namespace vornel::quillet {
namespace {

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Options stepped over with the next argument: quillet's own list of the
// joiner's and the design-file extractor's options, and every other option
// of the joiner that takes a value, so that the command line the driver
// hands every tool of the chain reads the same here.
bool takes_value(std::string_view a) {
  for (std::string_view family : {"-B", "-F", "-I", "-L", "-l", "-D", "-O"}) {
    if (starts_with(a, family)) return true;
  }
  for (std::string_view exact : {"-AR", "-CD", "-S", "-SH", "-schema", "-XL", "-XY", "-XYZ", "-E",
                                 "-e", "-J", "-M", "-m", "-V", "-Z", "-a", "-u", "-v", "-X"}) {
    if (a == exact) return true;
  }
  return starts_with(a, "-P") && a != "-P";
}

// Options of the joiner whose value is optional: the next argument is
// taken when it does not begin with "-".
bool takes_optional_value(std::string_view a) {
  for (std::string_view family : {"-W", "-d", "-Q", "-N", "-T", "-q", "-z", "-f", "-g", "-s"}) {
    if (starts_with(a, family)) return true;
  }
  return false;
}

}  // namespace

ParseResult parse_options(const std::vector<std::string>& args, Options& o,
                          std::string& messages) {
  std::size_t i = 0;
  const auto value = [&]() -> std::string {
    if (i + 1 >= args.size()) return {};
    return args[++i];
  };
  const auto optional_value = [&]() -> std::string {
    if (i + 1 >= args.size() || starts_with(args[i + 1], "-")) return {};
    return args[++i];
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!starts_with(a, "-")) {
      char text[512];
      std::snprintf(text, sizeof text,
                    "\n\nInvalid command argument %d - %s\n\nquillet exiting abnormally\n\n",
                    static_cast<int>(i), a.c_str());
      messages += text;
      return ParseResult::invalid_argument;
    }
    if (starts_with(a, "-U")) {
      o.list_file = value();
    } else if (a == "-PN" || a == "-PNU") {
      messages += "\n\nCreate/update nodes not supported with a ulf file - usw dgn input\n\n";
      return ParseResult::node_options;
    } else if (a == "-sa" || a == "-sb" || a == "-sc") {
      const std::string v = optional_value();
      if (!v.empty()) {
        double& tolerance = a == "-sa" ? o.tolerances.arc
                            : a == "-sb" ? o.tolerances.bspline
                                         : o.tolerances.curve;
        tolerance = extract::leading_double(v);
      }
    } else if (extract::WeightTable::is_weight_option(a)) {
      o.weights.apply(a, value());
    } else if (a == "-OA" || a == "-OF") {
      value();  // the joiner's overshoot options
    } else if (starts_with(a, "-O")) {
      const std::string v = value();
      o.coordinates_only = starts_with(v, "E");
    } else if (takes_value(a)) {
      value();
    } else if (takes_optional_value(a)) {
      optional_value();
    }
    // Every other option takes no value and is ignored.
  }
  return ParseResult::run;
}

}  // namespace vornel::quillet
