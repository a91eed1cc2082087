#pragma once
// Writes a described run database: the catalog mscatalog(tablename,
// entitynum, nextocc) and one table per description, keyed by mslink.

#include "tools/dbmake/db_description.h"

#include <string>

namespace vornel::dbmake {

// Creates `path`, which must not exist yet; the file appears whole or not
// at all. Returns false with a message in `error`.
bool write_database(const DatabaseSpec& spec, const std::string& path, std::string& error);

}  // namespace vornel::dbmake
