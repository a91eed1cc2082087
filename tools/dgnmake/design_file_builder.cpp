#include "tools/dgnmake/design_file_builder.hpp"

#include <span>

#include "client/records/element_words.hpp"
#include "client/records/vax_double.hpp"
#include "tools/dgnmake/description_parser.hpp"
#include "tools/dgnmake/element_encoder.hpp"

namespace vornel::dgnmake {

std::vector<std::uint8_t> design_header_element(const DesignDescription& d) {
  std::vector<std::uint8_t> h(kHeaderElementBytes, 0);
  auto* p = h.data();
  const bool three = d.dimension == client::Dimension::three;
  client::put_word(p, 0, three ? 0x09C8 : 0x0908);
  client::put_word(p, 2, client::kMaxWordsToFollow);
  client::put_word(p, 30, client::kMaxWordsToFollow - 14);  // no linkages
  client::put_file_long(p, kSubunitsPerMasterOffset, static_cast<std::uint32_t>(d.subunits_per_master));
  client::put_file_long(p, kUorsPerSubunitOffset, static_cast<std::uint32_t>(d.uors_per_subunit));
  for (std::size_t i = 0; i < 2; ++i) {
    p[kMasterNameOffset + i] = static_cast<std::uint8_t>(i < d.master_name.size() ? d.master_name[i] : ' ');
    p[kSubNameOffset + i] = static_cast<std::uint8_t>(i < d.sub_name.size() ? d.sub_name[i] : ' ');
  }
  for (std::size_t axis = 0; axis < 3; ++axis) {
    client::ieee_to_vax(d.global_origin[axis],
                        std::span<std::uint8_t, 8>(p + kGlobalOriginOffset + 8 * axis, 8));
  }
  return h;
}

std::vector<std::uint8_t> build_design_file(const DesignDescription& d) {
  std::vector<std::uint8_t> file = design_header_element(d);
  for (const ElementSpec& e : d.elements) {
    const auto bytes = encode_element(e, d.dimension);
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  file.push_back(0xFF);  // end of design
  file.push_back(0xFF);
  file.resize((file.size() + 511) / 512 * 512, 0);
  return file;
}

std::vector<std::uint8_t> make_design_file(const std::string& text) {
  return build_design_file(parse_design_description(text));
}

}  // namespace vornel::dgnmake
