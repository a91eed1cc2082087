#include <gtest/gtest.h>

#include <vector>

#include "toolkit/linkage/attr_link_check.h"
#include "toolkit/linkage/get_mslink.h"
#include "toolkit/linkage/linkage_walk.h"
#include "toolkit/linkage/reset_linkage.h"
#include "toolkit/linkage/set_info.h"

namespace vornel::toolkit {
namespace {

using Words = std::vector<int16_t>;
using Bytes = std::vector<uint8_t>;

// Element records travel as bytes, little-endian words.
Bytes to_bytes(const Words& words) {
    Bytes bytes;
    for (const int16_t w : words) {
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(w) & 0xFF));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(w) >> 8));
    }
    return bytes;
}

Words db(uint16_t entity, int32_t link) {
    const auto bits = static_cast<uint32_t>(link);
    return {0x0001, static_cast<int16_t>(entity), static_cast<int16_t>(bits & 0xFFFF),
            static_cast<int16_t>(bits >> 16)};
}

Words db_user(uint16_t entity, int32_t link) {
    const auto bits = static_cast<uint32_t>(link);
    return {0x1005, 0, static_cast<int16_t>(kDatabaseUserId), static_cast<int16_t>(entity),
            static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16)};
}

// Other user data: identifier in word 1, then the payload.
Words user(int16_t id, Words payload) {
    Words w{static_cast<int16_t>(0x1000 | (payload.size() + 1)), id};
    w.insert(w.end(), payload.begin(), payload.end());
    return w;
}

// The words of a memory-form element whose body is 20 words, followed by the
// linkages.
Words element_words(std::initializer_list<Words> linkages) {
    Words w(20, 0);
    w[0] = 0x0305;
    w[15] = 4;  // linkages start at word 4 + 16
    for (const auto& l : linkages) w.insert(w.end(), l.begin(), l.end());
    w[1] = static_cast<int16_t>(w.size() - 2);
    return w;
}

Bytes element(std::initializer_list<Words> linkages) { return to_bytes(element_words(linkages)); }

Words empty_buffer() { return Words(kAttributeBufferWords, 0); }

// The linkages held in a buffer, as word runs.
std::vector<Words> held(const Words& buffer) {
    std::vector<Words> out;
    auto walk = LinkageWalk::of_buffer(record_bytes(std::span<const int16_t>(buffer)));
    while (const auto l = walk.next()) {
        out.emplace_back(buffer.begin() + static_cast<ptrdiff_t>(l->offset),
                         buffer.begin() + static_cast<ptrdiff_t>(l->offset + l->length));
    }
    return out;
}

TEST(GetMslink, FindsTheFirstLinkageOfTheEntity) {
    const auto e = element({user(7, {1, 2}), db(3, 0x01000005), db(4, 77), db_user(9, 123456)});
    int32_t link = -1;
    EXPECT_EQ(get_mslink(3, e, &link), 1);
    EXPECT_EQ(link, 5);  // the mslink is the low 24 bits
    EXPECT_EQ(get_mslink(4, e, &link), 1);
    EXPECT_EQ(link, 77);
    EXPECT_EQ(get_mslink(9, e, &link), 1);
    EXPECT_EQ(link, 123456);  // all 32 bits of a user data link
    EXPECT_EQ(get_mslink(8, e, &link), 0);
    EXPECT_EQ(link, 0);
}

TEST(GetMslink, ElementWithoutLinkagesGivesZero) {
    int32_t link = 42;
    EXPECT_EQ(get_mslink(3, element({}), &link), 0);
    EXPECT_EQ(link, 0);
}

TEST(GetMslink, MalformedRecordsAreNotReadPastTheirEnd) {
    // The last linkage claims more words than the element has.
    auto e = element_words({db(3, 5), db_user(1, 99)});
    e.resize(e.size() - 2);
    e[1] = static_cast<int16_t>(e.size() - 2);
    int32_t link = 0;
    EXPECT_EQ(get_mslink(3, to_bytes(e), &link), 1);
    EXPECT_EQ(get_mslink(1, to_bytes(e), &link), 0);
    // Words-to-follow beyond the span and an attribute index beyond it.
    auto e2 = element_words({db(3, 5)});
    e2[1] = 700;
    EXPECT_EQ(get_mslink(3, to_bytes(e2), &link), 1);
    e2[15] = 600;
    EXPECT_EQ(get_mslink(3, to_bytes(e2), &link), 0);
    EXPECT_EQ(get_mslink(3, to_bytes(Words{0, 5}), &link), 0);
}

TEST(GetMslinkAttrib, SearchesTheBufferAndLeavesOutValueWhenAbsent) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    const auto e = element({db(3, 5), db_user(9, 70000)});
    attr_link_check(e, buffer, &next, 0, 0, 0);
    int32_t link = -1;
    EXPECT_EQ(get_mslink_attrib(9, buffer, &link), 1);
    EXPECT_EQ(link, 70000);
    link = -1;
    EXPECT_EQ(get_mslink_attrib(4, buffer, &link), 0);
    EXPECT_EQ(link, -1);
}

struct StackingCase {
    int16_t stacking;
    std::vector<Words> kept;
};

class AttrLinkCheckStacking : public testing::TestWithParam<StackingCase> {};

TEST_P(AttrLinkCheckStacking, TwoRowsOfOneTable) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    attr_link_check(element({db(3, 5)}), buffer, &next, GetParam().stacking, 0, 0);
    attr_link_check(element({db(3, 6)}), buffer, &next, GetParam().stacking, 0, 0);
    EXPECT_EQ(held(buffer), GetParam().kept);
    EXPECT_EQ(buffer[1], -1);
    EXPECT_EQ(next, 2 + 4 * static_cast<int16_t>(GetParam().kept.size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, AttrLinkCheckStacking,
                         testing::Values(StackingCase{0, {db(3, 5), db(3, 6)}},
                                         StackingCase{7, {db(3, 5)}},
                                         StackingCase{3, {db(3, 5), db(3, 6)}}));

TEST(AttrLinkCheck, SameSegmentTwiceAddsNothing) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    const auto e = element({db(3, 5), db_user(4, 8), user(11, {1, 2})});
    EXPECT_EQ(attr_link_check(e, buffer, &next, 0, 0, 0), 1);
    const auto first = buffer;
    EXPECT_EQ(attr_link_check(e, buffer, &next, 0, 0, 0), 0);
    EXPECT_EQ(buffer, first);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(next, 2 + 4 + 6 + 4);
}

TEST(AttrLinkCheck, EmptyDatabaseLinkagesAreNeverCollected) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    attr_link_check(element({db(0, 5), db(3, 0), db(3, 0x01000000)}), buffer, &next, 0, 0, 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(next, 2);
}

TEST(AttrLinkCheck, EntityFilterKeepsOneTable) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    attr_link_check(element({db(3, 5), user(11, {1}), db(4, 6), db_user(4, 7)}), buffer, &next, 0, 4, 0);
    EXPECT_EQ(held(buffer), (std::vector<Words>{db(4, 6), db_user(4, 7)}));
}

TEST(AttrLinkCheck, UserDataDuplicatesAndIdentifierFilter) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    attr_link_check(element({user(11, {1, 2}), user(11, {1, 2}), user(11, {1, 3}), user(12, {1, 2})}), buffer,
                    &next, 0, 0, 0);
    EXPECT_EQ(held(buffer), (std::vector<Words>{user(11, {1, 2}), user(11, {1, 3}), user(12, {1, 2})}));

    auto filtered = empty_buffer();
    int16_t filtered_next = 2;
    attr_link_check(element({user(12, {1, 2}), user(11, {5}), db(3, 5)}), filtered, &filtered_next, 0, 0, 11);
    EXPECT_EQ(held(filtered), (std::vector<Words>{user(11, {5}), db(3, 5)}));
    // The marker is set even though the first linkage in came through the
    // filtered path, so the place operations attach the set.
    EXPECT_EQ(filtered[1], -1);
}

TEST(AttrLinkCheck, CollectsFromAnotherAttributeBuffer) {
    auto source = empty_buffer();
    int16_t source_next = 2;
    attr_link_check(element({db(3, 5), db(4, 6)}), source, &source_next, 0, 0, 0);
    auto target = empty_buffer();
    int16_t target_next = 2;
    attr_link_check(element({db(4, 6)}), target, &target_next, 0, 0, 0);
    // Collecting a buffer into a buffer adds only what is new.
    EXPECT_EQ(attr_link_check(std::span<const int16_t>(source), target, &target_next, 0, 0, 0), 0);
    EXPECT_EQ(held(target), (std::vector<Words>{db(4, 6), db(3, 5)}));
}

TEST(AttrLinkCheck, CompareOnlyWhenNextFreeIsBelowTwo) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    attr_link_check(element({db(3, 5)}), buffer, &next, 0, 0, 0);
    const auto before = buffer;
    int16_t compare = 0;
    EXPECT_EQ(attr_link_check(element({db(3, 5)}), buffer, &compare, 0, 0, 0), 0);
    EXPECT_EQ(attr_link_check(element({db(3, 6)}), buffer, &compare, 0, 0, 0), 1);
    EXPECT_EQ(buffer, before);
    EXPECT_EQ(compare, 0);
}

TEST(AttrLinkCheck, FullBufferRefusesTheLinkageAndSaysSo) {
    Words buffer(8, 0);
    int16_t next = 2;
    testing::internal::CaptureStdout();
    const int kept = attr_link_check(element({db(3, 5), db(3, 6)}), buffer, &next, 0, 0, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(kept, 0);
    EXPECT_EQ(held(buffer), (std::vector<Words>{db(3, 5)}));
    EXPECT_EQ(next, 6);
    EXPECT_EQ(out, "\nAttribute buffer full - linkage of 4 words not kept\n");
}

TEST(ResetLinkage, DatabaseRowGetsRevisedLinkValue) {
    auto buffer = empty_buffer();
    int16_t next = 2;
    attr_link_check(element({db(2, 1), db(3, 5)}), buffer, &next, 0, 0, 0);
    const int32_t old_link = 5;
    int32_t new_link = 9;
    EXPECT_EQ(reset_linkage(3, buffer, &old_link, 0, &new_link, -1), 1);
    EXPECT_EQ(new_link, 9 + (1 << 24));
    EXPECT_EQ(buffer[8], 9);
    EXPECT_EQ(buffer[9], 0x100);
    EXPECT_EQ(held(buffer)[0], db(2, 1));
}

TEST(ResetLinkage, EntityWordAndInformationBit) {
    auto e = element({db_user(4, 100)});
    const int32_t old_link = 100;
    int32_t new_link = 200;
    EXPECT_EQ(reset_linkage(4, std::span<uint8_t>(e), &old_link, 8, &new_link, 1), 1);
    EXPECT_EQ(new_link, 200);  // user data links are written unchanged
    int32_t link = 0;
    EXPECT_EQ(get_mslink(8, e, &link), 1);
    EXPECT_EQ(link, 200);
    EXPECT_EQ(word_at(e, 20), 0x1005 | kInfoBit);
    EXPECT_EQ(reset_linkage(8, std::span<uint8_t>(e), &old_link, 0, &new_link, 0), 1);
    EXPECT_EQ(word_at(e, 20), 0x1005);
}

TEST(ResetLinkage, OtherValueOrAbsentEntityLeavesTheLink) {
    auto e = element({db(3, 5)});
    const auto before = e;
    const int32_t old_link = 6;
    int32_t new_link = 9;
    EXPECT_EQ(reset_linkage(3, std::span<uint8_t>(e), &old_link, 0, &new_link, 2), 1);
    EXPECT_EQ(e, before);
    EXPECT_EQ(new_link, 9);
    EXPECT_EQ(reset_linkage(4, std::span<uint8_t>(e), &old_link, 0, &new_link, 1), 0);
    EXPECT_EQ(e, before);
}

TEST(SetInfo, MarksDatabaseLinkagesOnly) {
    Words buffer = empty_buffer();
    const auto links = std::vector<Words>{db(3, 5), db_user(4, 6), user(11, {1}), db(0, 7)};
    size_t at = 2;
    for (const auto& l : links) {
        std::copy(l.begin(), l.end(), buffer.begin() + static_cast<ptrdiff_t>(at));
        at += l.size();
    }
    buffer[0] = 4;
    buffer[1] = -1;
    int16_t out = 5;
    set_info(buffer, &out);
    EXPECT_EQ(out, 0);
    const auto marked = held(buffer);
    EXPECT_EQ(static_cast<uint16_t>(marked[0][0]), 0x0001 | kInfoBit);
    EXPECT_EQ(static_cast<uint16_t>(marked[1][0]), 0x1005 | kInfoBit);
    EXPECT_EQ(marked[2][0], 0x1002);
    EXPECT_EQ(marked[3][0], 0x0001);
}

}  // namespace
}  // namespace vornel::toolkit
