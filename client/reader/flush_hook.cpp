#include "client/reader/flush_hook.hpp"

#include <utility>

namespace vornel::client {
namespace {
HostFlushHook installed_hook = nullptr;
}  // namespace

HostFlushHook set_host_flush_hook(HostFlushHook hook) {
  return std::exchange(installed_hook, hook);
}

bool run_host_flush_hook() {
  return installed_hook != nullptr && installed_hook();
}

}  // namespace vornel::client
