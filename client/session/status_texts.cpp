#include "client/session/status_texts.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace vornel::session {

namespace {

struct StatusEntry {
  int code;
  const char* text;
};

// Codes from the library and the host alike, in ascending order.
constexpr StatusEntry kStatusTable[] = {
    {900, "Nonexistent request"},
    {901, "Invalid graphic group number"},
    {902, "Invalid graphic group code"},
    {903, "GG descriptor > 743 words"},
    {904, "Too few vertices"},
    {905, "Too many vertices"},
    {906, "ECMPLX before BCMPLX"},
    {908, "ECMPLX Illegal element code"},
    {909, "Can't find TCB variable"},
    {911, "File read"},
    {912, "File write"},
    {913, "EDFILL - 1"},
    {914, "EDFILL - 2"},
    {915, "EDFILL - 3"},
    {916, "EDFILL - 4"},
    {917, "3D file, 2D subroutine"},
    {918, "2D file, 3D subroutine"},
    {920, "Illegal terminal number"},
    {921, "Maximum attr linkage"},
    {922, "Second attr linkage"},
    {924, "Design host Terminated"},
    {925, "Communication"},
    {926, "Indfpi initialization"},
    {927, "Move request error"},
    {928, "dedfpi"},
    {929, "TCB mapping"},
    {930, "Radix 50 conversion"},
    {931, "Cell library open"},
    {932, "Font Library open"},
    {933, "Element off dgn plane"},
    {934, "Invalid element"},
    {936, "Scanner not loaded"},
    {938, "No cell lib attached"},
    {939, "Cell not found"},
    {940, "Cell nest > 4"},
    {941, "Invalid cell"},
    {942, "Text string too long"},
    {943, "Too many strings in node"},
    {944, "Invalid complex component"},
    {945, "Unclosed complex shape"},
    {948, "Unable to open design file"},
    {949, "Unable to open cell library"},
    {952, "Cant find or read dgnhost.rsc"},
    {953, "No design file open"},
    {954, "Invalid cell name"},
    {955, "Invalid cell type"},
    {956, "Cell already exists"},
    {957, "3D dgn, 2D file"},
    {958, "Scan error in bldcel"},
    {959, "Path lost to dgn file"},
    {960, "Design file disk is full"},
    {961, "Invalid dgnhost.rsc file"},
    {962, "No graphics handler loaded"},
    {963, "No input handler loaded"},
    {964, "Invalid output field"},
    {967, "Invalid reference file operation"},
    {970, "Reference file not used"},
    {971, "Out of reference clipping points"},
    {972, "Block operation buffer too large"},
    {973, "Shared memory not open"},
    {974, "Bad File Slot"},
    {975, "Maximum number of shared memory"},
    {976, "Attempt to delete complex element"},
    {977, "Illegal reference file operation"},
    {978, "Insufficient memory"},
    {980, "Text size exceeds maximum"},
    {981, "Bad resource file dgnhost.rsc"},
    {982, "Could not exec design host"},
    {983, "Timed out waiting for design host"},
    {984, "No fence for fence patterning"},
    {985, "Invalid pattern spacing (zero)"},
    {986, "Attempt to pattern hole"},
    {987, "Invalid type for patterning"},
    {988, "Nonplanar pattern element"},
    {989, "No elements in hilite"},
    {990, "Must initialize dynamics first"},
    {991, "No tutorial active"},
    {992, "User has dynamics off"},
    {993, "No application message queue"},
    {994, "No message queue to database server"},
    {995, "Invalid raster format"},
    {996, "Must call start_raster"},
    {998, "No asynch event pending"},
    {999, "Unexpected asynch event type"},
    {1000, "No asynch event handler"},
    {1001, "Invalid dimension specification"},
    {1002, "Bad screen number"},
    {1003, "Bad format specifiedr"},
    {1004, "Invalid input queue element"},
    {1005, "Command table not found"},
    {1006, "Invalid command table format"},
    {1007, "In asynch handler"},
    {1008, "Cell scale too large"},
    {1009, "Cell size too large"},
    {1010, "Element is not a cell header"},
    {1011, "At end of file"},
    {1012, "File is read-only"},
    {1013, "Can't write element at given position"},
    {1014, "Number of poles must be >= the order"},
};

}  // namespace

std::string_view status_message(int code) {
  const StatusEntry* end = std::end(kStatusTable);
  const StatusEntry* found = std::lower_bound(std::begin(kStatusTable), end, code,
                                              [](const StatusEntry& e, int c) { return e.code < c; });
  return found != end && found->code == code ? found->text : "Unknown";
}

std::string status_text(int code) {
  if (code == 0) return {};
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "ERROR (%d): ", code);
  return std::string(prefix) + std::string(status_message(code));
}

}  // namespace vornel::session
