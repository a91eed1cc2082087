#include "joiner/output/shape_centroid.h"

#include <array>

#include "client/operations/operations.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/engine/element_fields.h"
#include "toolkit/centroid/xycord_in.h"

namespace vornel::joiner {

void place_shape_centroid(JoinRun& run, std::int32_t s, std::int32_t n, WriteReason reason) {
  const RunConfig& cfg = run.cfg;
  const int d = cfg.dimen;
  toolkit::CentroidPoint centre;
  const std::span<const std::int32_t> piece(run.vertex(s), static_cast<std::size_t>((n + 1) * d));
  toolkit::XYcord_in(&centre, static_cast<std::int16_t>(n), piece, static_cast<std::int16_t>(d), diag);

  // In 3-D the point takes the elevation of the piece's first vertex, so it
  // lies on the outline's plane.
  const std::array<std::int32_t, 3> point{centre.x, centre.y, d == 3 ? run.vertex(s)[2] : 0};
  const ElementFields element{run.element.element()};
  Symbology symbology;
  symbology.style = static_cast<std::int16_t>(element.style());
  symbology.weight = static_cast<std::int16_t>(element.weight());
  symbology.color = static_cast<std::int16_t>(element.color());
  const auto level = static_cast<std::int16_t>(cfg.centroid_level >= 1 ? cfg.centroid_level : element.level());
  const std::int16_t* mode = run.chain.placement.data();
  const std::int16_t* links = run.chain.output_links.words.data();
  std::int16_t status = 0;
  const double angle = 0;
  switch (cfg.centroid_type) {
    case 3: {
      std::array<std::int32_t, 6> ends{};
      for (int i = 0; i < d; ++i) ends[static_cast<std::size_t>(i)] = ends[static_cast<std::size_t>(d + i)] =
          point[static_cast<std::size_t>(i)];
      lndfpi(mode, &level, &symbology, ends.data(), &status, links);
      if (status != 0 && reason == WriteReason::flush && run.pass == Pass::ring)
        print(run.out, "\nError %d placing POINT\n", status);
      break;
    }
    case 17:
    case 7: {
      if (d != 2) break;
      vornel::TextParameters parameters;
      parameters.width = cfg.centroid_text_size[0];
      parameters.height = cfg.centroid_text_size[1];
      vornel::TextSymbology text_symbology;
      text_symbology.symbology = symbology;
      if (cfg.centroid_type == 17) {
        parameters.character_count = 1;
        txdfpi(mode, &angle, &level, &parameters, &text_symbology, point.data(), &status, "?", links);
      } else {
        NodeParameters node;
        node.node_number = cfg.text_node_params.param;
        tndfpi(mode, &angle, &level, &node, &parameters, &text_symbology, point.data(), &status, nullptr, links);
        if (status != 0 && reason == WriteReason::flush && run.pass == Pass::ring)
          print(run.out, "\nError %d placing TEXTNODE\n", status);
      }
      break;
    }
    default:
      break;
  }
  std::int16_t gg_status = 0;
  ggdfpi(run.setup.gg_state.data(), &gg_status);
  run.chain.output_links.clear();
}

}  // namespace vornel::joiner
