#pragma once
// Reading the fields that the placement requests share, and answering the
// extended placements.

#include "client/operations/request_codes.h"
#include "host/editing/design_editor.h"
#include "host/host_session.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vornel::host::requests {

// The editor of the open design file, or null with 953 in the reply.
editing::DesignEditor* editor_of(HostSession& session, Reply& reply);

// Level, graphic group (from the mode pair), symbology and the linkages of
// the attribute area at `attributes`. False (and 934 in `status`) when the
// attribute area runs past the request.
struct PlacementFields {
  std::size_t level;
  std::size_t mode_pair;
  std::size_t symbology;
  std::size_t attributes;
};
bool read_placement(HostSession& session, std::span<const std::byte> request, const PlacementFields& fields,
                    editing::Placement& placement, int& status);

// Places `built`, at the requested position when an extended tail names
// one, and answers with the position and, when asked, the memory form.
void place_and_reply(HostSession& session, editing::DesignEditor& editor, editing::BuildResult built,
                     std::span<const std::byte> request, const operations::ExtendedTail* tail, Reply& reply);

// Vertices of `count` points of the file's dimension from `offset`; false
// when the request does not hold them.
bool read_points(std::span<const std::byte> request, std::size_t offset, std::size_t count,
                 client::Dimension dimension, std::vector<editing::Point>& points);

}  // namespace vornel::host::requests
