#include "joiner/output/break_table_row.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "client/database/database.h"
#include "joiner/console_print.h"
#include "joiner/options/row_update.h"
#include "toolkit/linkage/get_mslink.h"
#include "toolkit/linkage/reset_linkage.h"

namespace vornel::joiner {
namespace {

constexpr std::int32_t kSelect = 6;
constexpr std::int32_t kAttachActive = 10;
constexpr std::size_t kLinkageWords = 9;  // the first 18 bytes of the attach reply

}  // namespace

void add_break_table_row(JoinRun& run) {
  const RunConfig& cfg = run.cfg;
  LinkageSet& links = run.chain.output_links;
  if (run.first_break_piece || cfg.newbrkTabEnt == 0) {
    std::int32_t found_link = 0;
    const int found = toolkit::get_mslink_attrib(cfg.curbrkTabEnt, links.words, &found_link);
    run.break_mslink = found != 0 ? found_link : 0;
    run.first_break_piece = false;
  }

  std::int16_t status = 0;
  if (cfg.newbrkTabEnt != 0) {
    db_nulrec(&cfg.newbrkTabEnt, &status);
  } else {
    status = send_statement(format_statement("select * from %s where mslink=%ld;", cfg.curbrkTabName.c_str(),
                                             static_cast<long>(run.break_mslink)),
                            kSelect);
    if (status != 0) {
      print(run.out, "\nError setting active entity for mslink=%ld in table %s\n AE will be set to null record",
            static_cast<long>(run.break_mslink), cfg.curbrkTabName.c_str());
      db_nulrec(&cfg.curbrkTabEnt, &status);
    }
  }
  if (status != 0) {
    print(run.out, "\n Error %d setting up/defining Active Entity for linear element", status);
    return;
  }

  std::array<char, 32> reply{};
  std::int32_t length = 0;
  const std::int32_t attach = kAttachActive;
  db_std_request(reply.data(), &attach, &length, &status);
  if (status != 0) {
    print(run.out, "\nError - unable to attach ae - no db attachment performed");
    return;
  }
  // The reply begins with the new row's linkage; as an attribute buffer it
  // is one linkage behind the count and marker words.
  std::array<std::int16_t, 2 + kLinkageWords> row_links{1, -1};
  std::memcpy(row_links.data() + 2, reply.data(), kLinkageWords * 2);
  std::int32_t new_mslink = 0;
  if (cfg.newbrkTabEnt != 0) {
    toolkit::get_mslink_attrib(cfg.newbrkTabEnt, row_links, &new_mslink);
    links.clear();
    std::copy(row_links.begin(), row_links.end(), links.words.begin());
    links.next_free = static_cast<std::int16_t>(row_links.size());
    send_row_update(run, cfg.newbrkTabName.c_str(),
                    format_statement("update %s set %s=%ld where mslink=%ld;", cfg.newbrkTabName.c_str(),
                                     cfg.newbrkColKey.c_str(), static_cast<long>(run.break_mslink),
                                     static_cast<long>(new_mslink)));
  } else {
    toolkit::get_mslink_attrib(cfg.curbrkTabEnt, row_links, &new_mslink);
    toolkit::reset_linkage(cfg.curbrkTabEnt, links.words, &run.break_mslink, 0, &new_mslink, 0);
  }
}

}  // namespace vornel::joiner
