#include "host/server.h"

#include "client/connection/request_record.h"
#include "client/connection/status_codes.h"
#include "client/connection/wire.h"
#include "client/platform/named_event.h"
#include "client/connection/object_names.h"
#include "client/platform/process.h"
#include "host/request_table.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

namespace vornel::host {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdleSlice = std::chrono::milliseconds(100);
constexpr auto kClientCheckInterval = std::chrono::milliseconds(250);

// Type 101, length, sender (stamped by the post), the request's code,
// status, 4 bytes unused, then the reply data.
std::vector<std::byte> reply_record(std::int32_t code, const Reply& reply) {
  std::vector<std::byte> out(connection::kReplyDataOffset + reply.data().size());
  std::span<std::byte> bytes(out);
  wire::store(bytes, 0, connection::kReplyType);
  wire::store(bytes, 4, reply.length_field().value_or(static_cast<std::int32_t>(out.size() - connection::kRecordHead)));
  wire::store(bytes, 12, code);
  wire::store(bytes, connection::kReplyStatusOffset, reply.status());
  std::copy(reply.data().begin(), reply.data().end(), out.begin() + connection::kReplyDataOffset);
  return out;
}

}  // namespace

int Server::add_queue(std::uint32_t key, bool create_if_missing, bool client_attached, bool persistent) {
  Link link;
  int result = connection::MessageQueue::attach(key, link.queue);
  if (result != 0 && create_if_missing) result = connection::MessageQueue::create(key, link.queue);
  if (result != 0) return result;
  link.had_client = client_attached;
  link.persistent = persistent;
  links_.push_back(std::move(link));
  return 0;
}

bool Server::serve(Link& link, bool& busy) {
  std::array<std::byte, connection::kMaxMessageBytes> request;
  std::size_t length = 0;
  for (;;) {
    // Posts set the event; without it there is nothing to take.
    if (!link.queue.own_event().is_set()) return true;
    int taken = link.queue.take(request, connection::kRequestType, &length);
    if (taken != 0) return true;
    busy = true;
    link.had_client = true;
    std::span<const std::byte> record(request.data(), length);
    note_client(wire::load<std::int32_t>(record, 8));
    const auto code = wire::load<std::int32_t>(record, 12);

    Reply reply;
    session_.clients = static_cast<int>(links_.size());
    session_.client_leaves = false;
    if (RequestHandler handler = find_handler(code)) handler(session_, record, reply);
    else reply.set_status(status::kNonexistentRequest);

    std::vector<std::byte> out = reply_record(code, reply);
    link.queue.post(out, nullptr);
    if (session_.host_exits) {
      ending_ = true;
      return false;
    }
    if (session_.client_leaves && !link.persistent) {
      link.queue.detach();
      return true;
    }
  }
}

void Server::accept_joining_client() {
  std::uint32_t key = session_.tcb.take_join_key();
  if (key == 0) return;
  for (const Link& link : links_)
    if (link.queue.key() == key) return;
  add_queue(key, false, true);
}

void Server::note_client(pid_t pid) {
  if (pid > 0 && std::find(clients_seen_.begin(), clients_seen_.end(), pid) == clients_seen_.end())
    clients_seen_.push_back(pid);
}

void Server::remove_events_of_dead_clients() {
  // A client that died without closing leaves its process events behind.
  std::erase_if(clients_seen_, [](pid_t pid) {
    if (platform::process_alive(pid)) return false;
    platform::NamedEvent::remove(connection::send_event_name(pid));
    platform::NamedEvent::remove(connection::get_event_name(pid));
    return true;
  });
}

void Server::check_clients() {
  remove_events_of_dead_clients();
  for (auto it = links_.begin(); it != links_.end();) {
    bool gone = !it->queue.attached() ||
                (!it->persistent && it->had_client && !it->queue.has_live_peer());
    it = gone ? links_.erase(it) : std::next(it);
  }
}

void Server::run(const std::atomic<bool>& stop) {
  auto next_check = Clock::now() + kClientCheckInterval;
  while (!ending_ && !stop.load()) {
    bool busy = false;
    for (Link& link : links_)
      if (link.queue.attached() && !serve(link, busy)) break;
    if (ending_) break;
    links_.remove_if([](const Link& link) { return !link.queue.attached(); });

    // Between bursts of requests: clients joining through the TCB, and
    // clients that died without closing.
    const auto now = Clock::now();
    if (!busy || now >= next_check) accept_joining_client();
    if (now >= next_check) {
      check_clients();
      next_check = now + kClientCheckInterval;
    }
    if (links_.empty()) break;
    if (busy) continue;

    std::vector<const platform::NamedEvent*> events;
    for (const Link& link : links_) events.push_back(&link.queue.own_event());
    platform::wait_any(events, kIdleSlice);
  }
  links_.clear();  // detaches; the last process on a queue removes it
  remove_events_of_dead_clients();
}

}  // namespace vornel::host
