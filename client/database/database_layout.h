#pragma once
// The database requests as they travel between the library and the design
// host: request codes, operation numbers, offsets and reply sizes.

#include "client/records/linkages.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vornel::dbwire {

inline constexpr std::int32_t kServerAttachRequest = 93;
inline constexpr std::int32_t kDatabaseRequest = 176;

// "No message queue to database server": a request without an attachment.
inline constexpr int kNoDatabaseServer = 994;

// Operations of request 176.
enum Operation : std::int32_t {
  kExecute = 3,         // one SQL statement
  kConnect = 5,         // connect to the database the text names
  kMakeActive = 6,      // the row a select finds becomes the active entity
  kAttachActive = 10,   // linkage of the active entity (a new row when null)
  kLinkageMode = 23,    // "NEW": attaching makes a new row
  kNullActive = 32,     // a null active entity for an entity number
  kGetField = 34,       // one column of one row as text
  kFieldNames = 44,     // column names of a table
};

// Request 93: offset 16 zero to attach (then the process group at 20 and
// the process id at 24), or the client's queue key to detach.
inline constexpr std::size_t kAttachKeyOffset = 16;
inline constexpr std::size_t kAttachGroupOffset = 20;
inline constexpr std::size_t kAttachPidOffset = 24;
inline constexpr std::size_t kAttachPayload = 12;

// Request 176: operation, data length n, n data bytes.
inline constexpr std::size_t kOperationOffset = 16;
inline constexpr std::size_t kDataLengthOffset = 20;
inline constexpr std::size_t kDataOffset = 24;
inline constexpr std::size_t kPayloadExtra = 11;  // payload length = n + 11

// Data of the fixed operations, from kDataOffset.
inline constexpr std::size_t kGetFieldEntity = 24, kGetFieldMslink = 28, kGetFieldColumn = 32, kGetFieldData = 12;
inline constexpr std::size_t kNamesEntity = 24, kNamesWidth = 26, kNamesCount = 28, kNamesData = 6;
inline constexpr std::size_t kNullEntity = 24, kNullData = 2;
inline constexpr std::size_t kNamesReplyCount = 24, kNamesReplyFirst = 26;

// The reply to attaching the active entity: a database user linkage of
// eight words (header, 0, user id 3969, entity, mslink low, mslink high, two
// zero words; a user linkage is a whole number of 4-word units), padded with
// zeros to 32 bytes. Callers take 32 bytes and the first 18 of them as the
// linkage; its header says how many of those words it uses.
inline constexpr std::size_t kActiveLinkageWords = 9;
inline constexpr std::uint16_t kActiveLinkageLength = 8;
inline constexpr std::size_t kActiveReplyBytes = 32;

// db_getfld's value, NUL included, is never longer than this; the caller's
// text buffer must hold it.
inline constexpr std::size_t kFieldValueBytes = 256;

inline std::array<std::uint16_t, kActiveLinkageWords> active_linkage(std::uint16_t entity, std::uint32_t mslink) {
  return {static_cast<std::uint16_t>(client::kUserDataLinkageBit | (kActiveLinkageLength - 1)),
          0,
          client::kDatabaseUserId,
          entity,
          static_cast<std::uint16_t>(mslink & 0xFFFF),
          static_cast<std::uint16_t>(mslink >> 16),
          0,
          0,
          0};
}

}  // namespace vornel::dbwire
