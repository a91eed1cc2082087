#include "joiner/engine/chain_attributes.h"

#include <array>
#include <cstdlib>
#include <string>

#include "client/database/database.h"
#include "client/records/element_words.hpp"
#include "client/session/session.h"
#include "joiner/console_print.h"
#include "joiner/engine/element_fields.h"
#include "joiner/options/option_hooks.h"
#include "toolkit/linkage/attr_link_check.h"
#include "toolkit/linkage/get_mslink.h"

namespace vornel::joiner {
bool read_field(JoinRun& run, std::int16_t entity, std::int32_t mslink, std::int16_t column,
                std::string& value) {
  std::array<char, 256> text{};
  std::int16_t status = 0;
  db_getfld(&entity, &mslink, &column, text.data(), &status);
  if (status != 0) {
    print(run.out, "\nError %d in db_getfld\n", status);
    run.out.flush();
    prt_error(&status);
    print(run.out, "\nFailed to retreive data for entity=%d mslink=%ld - value set to NULL\n", entity,
          static_cast<long>(mslink));
    return false;
  }
  value.assign(text.data());
  return true;
}

namespace {

void read_attribute_value(JoinRun& run, std::string& value) {
  value.clear();
  std::int32_t mslink = 0;
  if (toolkit::get_mslink(run.cfg.tableEnt, run.element.element_bytes(), &mslink) == 0) return;
  if (run.cfg.nv_mslink || run.cfg.lab_mslink) {
    value = std::to_string(mslink);
    return;
  }
  if (!read_field(run, run.cfg.tableEnt, mslink, run.setup.nv_col, value)) value.clear();
}

void build_compare_set(JoinRun& run, LinkageSet& set, std::int16_t stacking_entity) {
  set.clear();
  const std::int32_t filter = run.cfg.attr_all_match ? 0 : run.cfg.attr_ft_ent;
  toolkit::attr_link_check(run.element.element_bytes(), set.words, &set.next_free, stacking_entity,
                           filter, run.cfg.remove_attr);
}

}  // namespace

void capture_chain_attributes(JoinRun& run) {
  RunConfig& cfg = run.cfg;
  ChainAttributes& chain = run.chain;
  std::uint8_t* bytes = run.element.element();
  const ElementFields e{bytes};

  chain.low_z = cfg.z_zero ? 0 : e.low_z();
  chain.high_z = cfg.z_zero ? 0 : e.high_z();

  if (cfg.gg_zero) client::put_word(bytes, client::kGraphicGroupOffset, 0);
  chain.graphic_group = e.graphic_group();
  if (cfg.gg_db) {
    std::int32_t mslink = 0;
    if (toolkit::get_mslink(cfg.ggTabEnt, run.element.element_bytes(), &mslink) != 0) {
      if (cfg.gg_mslink) {
        chain.graphic_group = static_cast<std::uint16_t>(mslink & 0xFFFF);
      } else {
        std::string value;
        if (read_field(run, cfg.ggTabEnt, mslink, run.setup.gg_col_no, value))
          chain.graphic_group = static_cast<std::uint16_t>(std::atoi(value.c_str()));
      }
    }
  }
  chain.placement = {static_cast<std::int16_t>(chain.graphic_group != 0 ? 1 : 2),
                     static_cast<std::int16_t>(chain.graphic_group)};

  const int values[4] = {e.style(), e.weight(), e.color(), e.element_class()};
  for (int i = 0; i < 4; ++i)
    if (cfg.sym_code[static_cast<std::size_t>(i)] > 0)
      cfg.sym_value[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(values[i]);

  if (cfg.keep_attr) {
    chain.output_links.clear();
    toolkit::attr_link_check(run.element.element_bytes(), chain.output_links.words,
                             &chain.output_links.next_free, cfg.ft_entnum, 0, cfg.remove_attr);
  }
  if (cfg.attr_all_match || cfg.attr_ft_match) build_compare_set(run, chain.compare_links, 0);
  if (cfg.label_opt) capture_label_text(run);
  if (cfg.nv_opt) read_attribute_value(run, chain.attribute_value);
  if (cfg.out_level_mode > 0) cfg.out_level = static_cast<std::int16_t>(e.level());
}

void read_candidate_values(JoinRun& run, CandidateValues& values) {
  const ElementFields e{run.element.element()};
  values.low_z = e.low_z();
  values.high_z = e.high_z();
  if (run.cfg.nv_opt) read_attribute_value(run, values.attribute_value);
  if (run.cfg.attr_all_match || run.cfg.attr_ft_match)
    build_compare_set(run, values.compare_links, run.cfg.ft_entnum);
}

int join_test(JoinRun& run, const CandidateValues& candidate, bool with_linkages) {
  const RunConfig& cfg = run.cfg;
  const ElementFields e{run.element.element()};
  if ((cfg.out_level_mode == 1 || cfg.out_level_mode == 2) && e.level() != cfg.out_level) return 0;
  const int values[4] = {e.style(), e.weight(), e.color(), e.element_class()};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto code = cfg.sym_code[i];
    if ((code == 1 || code == 2) && values[i] != cfg.sym_value[i]) return 0;
  }
  if (cfg.z_match && (candidate.low_z != run.chain.low_z || candidate.high_z != run.chain.high_z))
    return 0;
  if (cfg.nv_opt && candidate.attribute_value != run.chain.attribute_value) return 0;
  if (cfg.gg_match && e.graphic_group() != run.chain.graphic_group) return 0;
  if (with_linkages && (cfg.attr_all_match || cfg.attr_ft_match)) {
    // The two sets must hold the same linkages: merging the candidate's set
    // into a copy of the chain's adds nothing, and both count the same.
    LinkageSet merged = run.chain.compare_links;
    toolkit::attr_link_check(std::span<const std::int16_t>(candidate.compare_links.words),
                             merged.words, &merged.next_free, 0, 0, cfg.remove_attr);
    if (merged.next_free != run.chain.compare_links.next_free) return 0;
    if (candidate.compare_links.words[0] != run.chain.compare_links.words[0]) return 0;
  }
  if (cfg.no_join) return 0;
  return 1;
}

void merge_linkages(JoinRun& run) {
  if (!run.cfg.keep_attr) return;
  LinkageSet& set = run.chain.output_links;
  toolkit::attr_link_check(run.element.element_bytes(), set.words, &set.next_free, run.cfg.ft_entnum, 0,
                           run.cfg.remove_attr);
}

}  // namespace vornel::joiner
