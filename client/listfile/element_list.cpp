#include "client/listfile/element_list.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "client/listfile/file_finder.hpp"
#include "client/reader/design_reader.hpp"
#include "client/reader/read_only_file.hpp"
#include "client/records/element_words.hpp"

namespace vornel::client {
namespace {

constexpr std::size_t kMaxRecordBytes = 1024;
constexpr std::size_t kFileSpecificationBytes = 72;
constexpr int kSlots = 3;

struct TypeList {
  std::int16_t count = 0;
  const std::uint8_t* types = nullptr;
};

struct Slot {
  ReadOnlyFile file;
  std::uint64_t position = 0;
  std::int32_t records = 0;
  std::array<TypeList, 3> type_lists{};
  std::string name;
};

std::array<Slot, kSlots>& slots() {
  static std::array<Slot, kSlots> table;
  return table;
}

std::int16_t store(std::int16_t* status, std::int16_t code) {
  if (status != nullptr) *status = code;
  return code;
}

Slot* slot_of(const std::int16_t* file_id) {
  if (file_id == nullptr || *file_id < 0 || *file_id >= kSlots) return nullptr;
  Slot& slot = slots()[static_cast<std::size_t>(*file_id)];
  return slot.file.is_open() ? &slot : nullptr;
}

int record_type(const std::uint8_t* record) { return (get_word(record, 0) >> 8) & 0x7F; }

std::size_t record_size(const std::uint8_t* record) {
  return std::size_t{get_word(record, 2)} * 2 + 4;
}

bool selected(const TypeList& list, int type) {
  if (list.count <= 0 || list.types == nullptr) return true;
  return std::find(list.types, list.types + list.count, static_cast<std::uint8_t>(type)) !=
         list.types + list.count;
}

// The name of the design file whose file specification carries the same
// identifier bytes as `reference`; empty when none does.
std::string design_file_for(const Slot& slot, const std::uint8_t* reference) {
  std::array<std::uint8_t, kFileSpecificationBytes> record{};
  std::ptrdiff_t n = slot.file.read_at(0, std::span(record).first(4));
  if (n < 4) return {};
  std::uint64_t at = record_size(record.data());  // the header, skipped
  for (;;) {
    record.fill(0);
    n = slot.file.read_at(at, record);
    if (n < 4 || record_type(record.data()) != kUlfFileSpecification) return {};
    const std::size_t size = record_size(record.data());
    const auto got = std::min(static_cast<std::size_t>(n), size);
    if (got < 8) return {};
    if (record[4] == reference[4] && record[5] == reference[5]) {
      const std::size_t length = std::min<std::size_t>(get_word(record.data(), 6), got - 8);
      const auto* name = reinterpret_cast<const char*>(record.data() + 8);
      return std::string(name, strnlen(name, length));
    }
    at += size;
  }
}

}  // namespace

std::int16_t io_ulfopr(std::int16_t* file_id, const char* name, std::int16_t* status) {
  auto& table = slots();
  const auto free = std::find_if(table.begin(), table.end(),
                                 [](const Slot& s) { return !s.file.is_open(); });
  if (free == table.end()) return store(status, kUlfNoFreeSlot);
  if (name == nullptr) return store(status, static_cast<std::int16_t>(-ENOENT));
  const std::string found = find_file(name, ".ulf", "MS_DEF");
  ReadOnlyFile file;
  std::string opened = found;
  int error = file.open(found.c_str());
  if (error != 0) {
    opened = name;
    error = file.open(name);
  }
  if (error != 0) return store(status, static_cast<std::int16_t>(-error));
  *free = Slot{};
  free->file = std::move(file);
  free->name = opened;
  if (file_id != nullptr) *file_id = static_cast<std::int16_t>(free - table.begin());
  return store(status, kUlfOk);
}

std::int16_t io_ulfcri(const std::int16_t* file_id, const std::int16_t* selector,
                       const std::int16_t* count, const std::uint8_t* type_list,
                       std::int16_t* status) {
  Slot* slot = slot_of(file_id);
  if (slot == nullptr) return store(status, kUlfBadFileId);
  if (selector == nullptr || *selector < 0 || *selector > 2) return store(status, kUlfBadSelector);
  TypeList& list = slot->type_lists[static_cast<std::size_t>(*selector)];
  list.count = count != nullptr ? *count : 0;
  list.types = type_list;
  return store(status, kUlfOk);
}

std::int16_t io_ulfget(const std::int16_t* file_id, const std::int32_t* max_bytes,
                       std::uint8_t* record, std::int16_t* status) {
  Slot* slot = slot_of(file_id);
  if (slot == nullptr) return store(status, kUlfBadFileId);
  const std::size_t limit = max_bytes != nullptr && *max_bytes > 0 ? static_cast<std::size_t>(*max_bytes) : 0;
  std::array<std::uint8_t, kMaxRecordBytes> buffer{};
  for (;;) {
    const std::ptrdiff_t n = slot->file.read_at(slot->position, buffer);
    if (n < 0) return store(status, kUlfReadError);
    const auto got = static_cast<std::size_t>(n);
    // A record larger than the 1024-byte buffer, or cut by the end of the
    // file, ends the list like the end record does.
    if (got < 4 || record_type(buffer.data()) == kUlfEnd || got < record_size(buffer.data())) {
      return store(status, kUlfEndOfList);
    }
    const std::size_t size = record_size(buffer.data());
    slot->position += size;
    ++slot->records;
    if (!selected(slot->type_lists[0], record_type(buffer.data()))) continue;
    const std::size_t copied = std::min(size, limit);
    if (record != nullptr) std::memcpy(record, buffer.data(), copied);
    return store(status, copied < size ? kUlfTruncated : kUlfOk);
  }
}

std::int16_t io_ulfgte(const std::int16_t* file_id, const std::uint8_t* reference,
                       const std::int32_t* max_words, std::uint16_t* element,
                       std::int16_t* status) {
  const Slot* slot = slot_of(file_id);
  if (slot == nullptr) return store(status, kUlfBadFileId);
  if (reference == nullptr || record_type(reference) != kUlfElementReference) {
    return store(status, kUlfNoReference);
  }
  const std::string design = design_file_for(*slot, reference);
  if (design.empty()) return store(status, kUlfNoReference);

  const std::uint16_t block = get_word(reference, 8);
  const std::uint16_t byte = get_word(reference, 10);
  const ScanPosition position{block, static_cast<std::uint32_t>((byte / 2) & 0xFF)};
  std::int16_t reader_status = 0;
  dfrset(&position, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, design.c_str(),
         &reader_status, nullptr);
  if (reader_status != 0) {
    store(status, kUlfReadError);
    return reader_status;
  }
  const std::int16_t direct = 1;
  search(&direct);
  reqele(element, max_words, &reader_status, nullptr, nullptr, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr, nullptr);
  if (reader_status != 0) {
    store(status, kUlfReadError);
    return reader_status;
  }
  return store(status, kUlfOk);
}

std::int16_t io_ulfcls(const std::int16_t* file_id, std::int16_t* status) {
  if (file_id == nullptr || *file_id < 0 || *file_id >= kSlots) return store(status, kUlfBadFileId);
  Slot& slot = slots()[static_cast<std::size_t>(*file_id)];
  if (!slot.file.is_open()) return store(status, kUlfBadFileId);
  slot = Slot{};
  return store(status, kUlfOk);
}

}  // namespace vornel::client
