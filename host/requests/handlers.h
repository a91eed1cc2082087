#pragma once
// Request handlers; each is defined in its own file beside this one.

#include "host/host_session.h"

namespace vornel::host::requests {

void connect(HostSession& session, std::span<const std::byte> request, Reply& reply);          // 63
void open_design(HostSession& session, std::span<const std::byte> request, Reply& reply);      // 1
void close_design(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 2
void flush(HostSession& session, std::span<const std::byte> request, Reply& reply);            // 62
void config_variable(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 134
void database_attach(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 93
void database_request(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 176
void place_line(HostSession& session, std::span<const std::byte> request, Reply& reply);        // 5
void place_line_ex(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 30
void place_vertices(HostSession& session, std::span<const std::byte> request, Reply& reply);    // 6-8, 31-33
void place_ellipse(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 11, 12
void place_text(HostSession& session, std::span<const std::byte> request, Reply& reply);        // 13, 14, 15, 38
void place_bspline(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 141
void open_complex(HostSession& session, std::span<const std::byte> request, Reply& reply);      // 3
void close_complex(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 4
void graphic_group(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 20
void read_element(HostSession& session, std::span<const std::byte> request, Reply& reply);      // 18
void read_element_at(HostSession& session, std::span<const std::byte> request, Reply& reply);   // 125
void write_element_at(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 126
void delete_element(HostSession& session, std::span<const std::byte> request, Reply& reply);    // 26
void stroke_element(HostSession& session, std::span<const std::byte> request, Reply& reply);    // 78
void stroke_bspline(HostSession& session, std::span<const std::byte> request, Reply& reply);    // 150
void text_inquiry(HostSession& session, std::span<const std::byte> request, Reply& reply);      // 25

}  // namespace vornel::host::requests
