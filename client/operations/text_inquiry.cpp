// What a text element holds, as the host reads it.

#include "client/connection/wire.h"
#include "client/operations/request_fields.h"

#include <algorithm>
#include <cstring>

namespace vornel {

using namespace operations;

namespace {
constexpr std::size_t kMaxElementBytes = 2048;
}  // namespace

int textchar(const std::uint16_t* text, void* size_words, double* matrix, std::int16_t* word,
             TextParameters* parameters, TextSymbology* symbology, std::int32_t* origin, char* characters,
             std::int16_t* status) {
  if (text == nullptr) return set_status(status, 934);
  const auto words_to_follow = static_cast<std::int16_t>(text[1]);
  if (words_to_follow < 0 || 2 * (std::size_t(words_to_follow) + 2) > kMaxElementBytes) return set_status(status, 934);
  const std::size_t bytes = 2 * (static_cast<std::size_t>(words_to_follow) + 2);
  connection::RequestRecord request(kTextInquiry, bytes);
  std::memcpy(request.bytes().data() + 16, text, bytes);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result != 0) return set_status(status, result);
  const bool three_d = three_dimensional();
  const std::byte* r = reply.data();
  if (size_words != nullptr) std::memcpy(size_words, r + kInquirySize, 4);
  if (matrix != nullptr) std::memcpy(matrix, r + kInquiryRotation, three_d ? 72 : 8);
  if (word != nullptr) std::memcpy(word, r + kInquiryWord, 2);
  if (parameters != nullptr) std::memcpy(parameters, r + kInquiryParameters, kTextParameterBytes);
  if (symbology != nullptr) {
    symbology->symbology.element_class = wire::load<std::int32_t>(reply, kInquirySymbology);
    symbology->symbology.style = wire::load<std::int16_t>(reply, kInquirySymbology + 4);
    symbology->symbology.weight = wire::load<std::int16_t>(reply, kInquirySymbology + 6);
    symbology->symbology.color = wire::load<std::int16_t>(reply, kInquirySymbology + 8);
    symbology->word1 = wire::load<std::int16_t>(reply, kInquirySymbology + 10);
    symbology->word2 = wire::load<std::int16_t>(reply, kInquirySymbology + 12);
  }
  if (origin != nullptr) std::memcpy(origin, r + kInquiryOrigin, three_d ? 12 : 8);
  if (characters != nullptr) {
    const auto count = std::min<std::size_t>(std::max<std::int16_t>(wire::load<std::int16_t>(reply, kInquiryCharacterCount), 0),
                                             std::min<std::size_t>(255, carried_from(reply, kInquiryCharacters)));
    std::memcpy(characters, r + kInquiryCharacters, count);
    characters[count] = '\0';
  }
  return set_status(status, 0);
}

}  // namespace vornel
