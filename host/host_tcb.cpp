#include "host/host_tcb.h"

#include "client/connection/object_names.h"
#include "client/connection/tcb_layout.h"
#include "client/connection/wire.h"
#include "client/platform/process.h"
#include "host/tcb_variables.h"

#include <atomic>

namespace vornel::host {

int HostTcb::create() {
  const auto pid = platform::current_process_id();
  int error = platform::SharedMemory::create_or_replace(
      connection::format_name("/dgnTcb%08lx", static_cast<unsigned long>(pid)), tcb::kBytes, memory_);
  if (error != 0) return error;
  auto out = bytes();
  wire::store(out, tcb::kHostProcessId, static_cast<std::int32_t>(pid));
  wire::store(out, tcb_offset::kGraphicGroup, std::int16_t{1});
  return 0;
}

void HostTcb::remove() {
  if (!memory_.valid()) return;
  platform::SharedMemory::remove(memory_.name());
  memory_.close();
}

void HostTcb::load_header(const DesignHeader& header) {
  auto out = bytes();
  wire::store(out, tcb::kDimension, static_cast<std::int16_t>(header.dimension));
  wire::store(out, tcb_offset::kSubunitsPerMaster, header.subunits_per_master);
  wire::store(out, tcb_offset::kUorsPerSubunit, header.uors_per_subunit);
  wire::store(out, tcb_offset::kMasterUnitName, header.master_unit_name);
  wire::store(out, tcb_offset::kSubUnitName, header.sub_unit_name);
  for (std::size_t axis = 0; axis < 3; ++axis)
    wire::store(out, tcb_offset::kGlobalOrigin + 8 * axis, header.global_origin[axis]);
}

std::uint32_t HostTcb::take_join_key() {
  if (!memory_.valid()) return 0;
  // Clients write this word without any lock; read and clear it atomically.
  auto* word = reinterpret_cast<std::uint32_t*>(memory_.data() + tcb::kIpcKey);
  return std::atomic_ref<std::uint32_t>(*word).exchange(0);
}

}  // namespace vornel::host
