#include "client/connection/host_connection.h"
#include "client/connection/status_codes.h"
#include "client/reader/flush_hook.hpp"
#include "client/session/file_finder.h"
#include "client/session/resource_file.h"
#include "client/session/session.h"
#include "client/session/session_state.h"

#include <string>

namespace vornel {

namespace session {

SessionState& session_state() {
  static SessionState state;
  return state;
}

namespace {

constexpr std::size_t kNameField = 128;

connection::RequestRecord open_request(const std::string& design_file, std::int16_t third_word,
                                       const char* cell_library, std::int16_t translation_mode) {
  connection::RequestRecord request(connection::kOpenRequest, 262);
  request.put_text(16, kNameField, design_file);
  request.put<std::int16_t>(144, third_word);
  request.put_text(146, kNameField, cell_library != nullptr ? cell_library : "");
  request.put<std::int16_t>(274, translation_mode);
  request.put<std::int16_t>(276, 1280);
  return request;
}

// A host variable as a string; empty when unset or unreadable.
std::string host_variable(const char* name) {
  char value[512] = {};
  std::int16_t size = sizeof value;
  std::int16_t status = 0;
  host_config_variable(name, value, &size, &status);
  return status == 0 ? value : "";
}

int load_tcb_variable_table() {
  std::optional<std::string> path = find_resource_file(host_variable);
  std::vector<std::uint8_t> resource;
  if (!path || !read_resource(*path, kTcbVariableResourceType, 1, resource) ||
      !decode_tcb_variables(resource, session_state().tcb_variables))
    return status::kCantReadResourceFile;
  return 0;
}

}  // namespace
}  // namespace session

int indfpi(const void*, const char* design_file, const std::int16_t* third_word, const char* cell_library,
           const std::int16_t* translation_mode, const void*, std::int16_t* status, const void*) {
  connection::ConnectionState& state = connection::connection_state();
  if (state.open) dedfpi(nullptr);
  const std::int16_t mode = translation_mode != nullptr ? *translation_mode : 0;

  std::string name = design_file != nullptr ? design_file : "";
  name = name.substr(0, 127);  // the request's field holds 128 bytes with its NUL
  if (int result = connection::connect_host(name); result != 0) return setstat(status, result);

  auto request = session::open_request(name, third_word != nullptr ? *third_word : 0, cell_library, mode);
  int result = connection::send_crc(request, {}, false);
  if (result != 0) {
    // The host stays only for clients that have the file open.
    session::close_host_session(0);
    return setstat(status, result);
  }
  if ((result = session::load_tcb_variable_table()) != 0) {
    session::close_host_session(0);
    return setstat(status, result);
  }
  state.translation_mode = mode;
  state.open = true;
  // From now on the direct reader flushes the host before it reads.
  client::set_host_flush_hook(&session::flush_host_if_cached);
  return setstat(status, 0);
}

}  // namespace vornel
