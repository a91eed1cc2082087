#pragma once
// The flush request the reader sends before it reads a design file.
//
// The host may hold design data in memory that the file does not show yet.
// The host connection installs a hook that, when its data-may-be-cached flag
// is set, sends the flush request and clears the flag. Without a connection
// the hook does nothing. The hook returns true when it sent a flush, so the
// reader knows the file may have changed under it.

namespace vornel::client {

using HostFlushHook = bool (*)();

// Installs `hook` (null: no hook) and returns the previous one.
HostFlushHook set_host_flush_hook(HostFlushHook hook);

// Called by the reader before it opens or reads a design file.
bool run_host_flush_hook();

}  // namespace vornel::client
