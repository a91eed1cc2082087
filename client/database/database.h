#pragma once
// Database requests through the design host: attaching to its database
// server, standard requests (connect, statements, active entities), null
// records, field values and column names. Every operation takes its
// arguments by address, stores its status in the last argument and returns
// it; output arguments are written only on status 0.

#include <cstdint>

namespace vornel {

// Attaches this process to the host's database server (request 93).
int db_server_attach(std::int16_t* status);
// Detaches; 994 without a request when not attached.
int db_server_detach(std::int16_t* status);

// Sends the first *length bytes of buffer with `operation` (request 176).
// On status 0, *length becomes the count of result bytes and they are
// copied into buffer, which must hold max(*length, 32) bytes: the host
// answers operation 10 with 32 bytes and the others with none.
int db_std_request(char* buffer, const std::int32_t* operation, std::int32_t* length, std::int16_t* status);

// A null active entity for the table of `entity` (operation 32).
int db_nulrec(const std::int16_t* entity, std::int16_t* status);

// Column `column` (from 1) of row `mslink` of the table of `entity`, as
// NUL-terminated text; `text` must hold dbwire::kFieldValueBytes (256).
int db_getfld(const std::int16_t* entity, const std::int32_t* mslink, const std::int16_t* column, char* text,
              std::int16_t* status);

// Column names of the table of `entity` into `count` slots of `width` bytes
// each; slots past the table's last column are left empty.
int db_fldname(const std::int16_t* entity, const std::int16_t* width, const std::int16_t* count, char* names,
               std::int16_t* status);

}  // namespace vornel
