// Reading attribute linkages out of an element record (memory form, held as
// bytes the way the client library returns it) or an attribute buffer (16-bit
// words). Both are little-endian words; the walk reads them through bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vornel::toolkit {

static_assert(std::endian::native == std::endian::little,
              "attribute buffers are read as little-endian words through their bytes");

// Words of an attribute buffer, as its owners allocate it (1,540 bytes).
inline constexpr size_t kAttributeBufferWords = 770;
// The first word that holds a linkage in an attribute buffer.
inline constexpr int16_t kFirstLinkageWord = 2;
// User identifier that marks a user data linkage as a database user linkage.
inline constexpr uint16_t kDatabaseUserId = 3969;
// Bit 12 of a linkage header word marks a user data linkage.
inline constexpr uint16_t kUserDataBit = 0x1000;
// Bit 15 of a linkage header word marks an information (or modified) linkage.
inline constexpr uint16_t kInfoBit = 0x8000;

// The bytes of an attribute buffer, for operations that take either kind of
// record.
inline std::span<const uint8_t> record_bytes(std::span<const int16_t> words) {
    return {reinterpret_cast<const uint8_t*>(words.data()), words.size_bytes()};
}
inline std::span<uint8_t> record_bytes(std::span<int16_t> words) {
    return {reinterpret_cast<uint8_t*>(words.data()), words.size_bytes()};
}

enum class LinkageKind { database, database_user, user_data };

// One linkage: its first word and its length in words.
struct Linkage {
    size_t offset;
    size_t length;
    LinkageKind kind;
};

// Entity number and link value carried by a linkage.
struct LinkValue {
    uint16_t entity;
    int32_t value;
};

// Walks the linkages of one record. Elements (word 1, the words-to-follow,
// positive) are walked over their linkage area, from word attribute index
// (word 15) + 16 to the end of the element; attribute buffers (word 1 zero or
// negative) over the word 0 linkages from word 2. A linkage that would run
// past the end of the record ends the walk: nothing beyond the span is read.
class LinkageWalk {
public:
    static LinkageWalk of_record(std::span<const uint8_t> record);
    static LinkageWalk of_element(std::span<const uint8_t> element);
    static LinkageWalk of_buffer(std::span<const uint8_t> buffer);

    // The next linkage, or nothing at the end.
    std::optional<Linkage> next();

private:
    LinkageWalk(std::span<const uint8_t> record, size_t begin, size_t end, size_t max_count)
        : record_(record), position_(begin), end_(end), remaining_(max_count) {}

    std::span<const uint8_t> record_;
    size_t position_;  // in words
    size_t end_;       // in words
    size_t remaining_;
};

// Word access by word index.
uint16_t word_at(std::span<const uint8_t> record, size_t word);
void set_word(std::span<uint8_t> record, size_t word, uint16_t value);
// A little-endian 32-bit value held in two words.
int32_t long_at(std::span<const uint8_t> record, size_t word);
void set_long(std::span<uint8_t> record, size_t word, int32_t value);

// The entity and link value of a database linkage (link value: the low 24
// bits of words 2-3) or a database user linkage (words 3 and 4-5).
LinkValue database_link(std::span<const uint8_t> record, const Linkage& linkage);

// The entity and link value of any linkage, read the way the mslink lookups
// do: word 1 and words 2-3 of a database linkage, word 3 and words 4-5 of any
// user data linkage. Nothing for a user data linkage shorter than six words.
std::optional<LinkValue> lookup_link(std::span<const uint8_t> record, const Linkage& linkage);

}  // namespace vornel::toolkit
