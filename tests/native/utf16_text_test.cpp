// Paths between UTF-8 and UTF-16: names in any script come through whole
// both ways, names the system allows but Unicode does not (a lone surrogate)
// come back unchanged, and bytes that are no UTF-8, or a buffer too small,
// give a refusal rather than a cut or garbled name.
#include "formats/utf16_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint16_t> Units(const std::string& utf8, int capacity = 64) {
    std::vector<uint16_t> out(capacity, 0xFFFF);
    int length = Utf8ToUtf16(utf8.c_str(), out.data(), capacity);
    if (length < 0) return {0xDEAD};
    return std::vector<uint16_t>(out.begin(), out.begin() + length);
}

std::string Bytes(std::vector<uint16_t> units, int capacity = 64) {
    units.push_back(0);
    std::vector<char> out(capacity, 'x');
    int length = Utf16ToUtf8(units.data(), out.data(), capacity);
    if (length < 0) return "<refused>";
    return std::string(out.data(), length);
}

TEST(Utf16Text, NamesInEveryScriptGoThereAndBack) {
    struct Case {
        const char* utf8;
        std::vector<uint16_t> utf16;
    } cases[] = {
        {"", {}},
        {"show.ild", {'s', 'h', 'o', 'w', '.', 'i', 'l', 'd'}},
        {"Caf\xC3\xA9.csv", {'C', 'a', 'f', 0xE9, '.', 'c', 's', 'v'}},
        {"\xE3\x82\xB7\xE3\x83\xA7\xE3\x83\xBC.ild", {0x30B7, 0x30E7, 0x30FC, '.', 'i', 'l', 'd'}},
        {"\xEF\xBD\xB7", {0xFF77}},              // half-width katakana
        {"\xF0\x9F\x8E\x86", {0xD83C, 0xDF86}},  // beyond the first plane: a pair
        {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},  // the last code point
        // 表 ends in 0x5C in Shift JIS, the byte of '\\': in UTF-8 it cannot.
        {"Z:\\\xE8\xA1\xA8\\a", {'Z', ':', '\\', 0x8868, '\\', 'a'}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Units(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Bytes(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(Utf16Text, LoneSurrogatesOfWindowsNamesComeBackUnchanged) {
    for (std::vector<uint16_t> name : std::vector<std::vector<uint16_t>>{
             {'a', 0xD800, 'b'}, {0xDC00}, {0xDBFF}, {0xDC00, 0xD800}, {'x', 0xD83C}}) {
        std::string bytes = Bytes(name);
        ASSERT_NE(bytes, "<refused>");
        EXPECT_EQ(Units(bytes), name);
    }
}

TEST(Utf16Text, BytesThatAreNoUtf8AreRefused) {
    for (const char* bad :
         {"\x80", "a\xC3", "\xC3(", "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",
          "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF", "\xE3\x82"}) {
        EXPECT_EQ(Units(bad), std::vector<uint16_t>{0xDEAD}) << bad;
    }
}

TEST(Utf16Text, ANameThatDoesNotFitIsRefusedNotCut) {
    // Capacities count the terminator.
    EXPECT_EQ(Units("abc", 4).size(), 3u);
    EXPECT_EQ(Units("abc", 3), std::vector<uint16_t>{0xDEAD});
    EXPECT_EQ(Units("\xF0\x9F\x8E\x86", 3).size(), 2u);
    EXPECT_EQ(Units("\xF0\x9F\x8E\x86", 2), std::vector<uint16_t>{0xDEAD});  // no half pair
    EXPECT_EQ(Bytes({0x30B7, 0x30E7}, 7), "\xE3\x82\xB7\xE3\x83\xA7");
    EXPECT_EQ(Bytes({0x30B7, 0x30E7}, 6), "<refused>");
    EXPECT_EQ(Bytes({0xD83C, 0xDF86}, 4), "<refused>");

    uint16_t units[4] = {1, 1, 1, 1};
    EXPECT_EQ(Utf8ToUtf16("abcd", units, 4), -1);
    EXPECT_EQ(units[0], 0);  // an empty text, not the start of the name
    char bytes[3] = {'x', 'x', 'x'};
    const uint16_t text[] = {'a', 'b', 'c', 0};
    EXPECT_EQ(Utf16ToUtf8(text, bytes, 3), -1);
    EXPECT_EQ(bytes[0], 0);
}

}  // namespace
