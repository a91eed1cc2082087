#pragma once
// The host's serving loop: takes requests from the queues of its clients,
// runs their handlers and posts the replies, until the last client closes.

#include "client/connection/message_queue.h"
#include "host/host_session.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <sys/types.h>
#include <vector>

namespace vornel::host {

class Server {
 public:
  explicit Server(HostSession& session) : session_(session) {}

  // Serves queue `key`. `client_attached`: a client is already on it (the
  // one that started us); otherwise the queue waits for one to arrive.
  // 0, or a negative transport status.
  int add_queue(std::uint32_t key, bool create_if_missing, bool client_attached, bool persistent = false);

  // Runs until the last client has closed or died, or `stop` is set.
  void run(const std::atomic<bool>& stop);

 private:
  struct Link {
    connection::MessageQueue queue;
    bool had_client = false;
    // The queue a host started by hand serves: it outlives its clients.
    bool persistent = false;
  };
  // Handles every request waiting on `link`; false when the host must end.
  bool serve(Link& link, bool& busy);
  void check_clients();
  void note_client(pid_t pid);
  void remove_events_of_dead_clients();
  void accept_joining_client();

  HostSession& session_;
  std::list<Link> links_;
  std::vector<pid_t> clients_seen_;
  bool ending_ = false;
};

}  // namespace vornel::host
