#include <gtest/gtest.h>

#include <string>

#include "core/codepage.h"

namespace {

using core::cutAnsi;
using core::cutWide;
using core::isGbkLeadByte;

// "中文" in code page 936.
const std::string Zhong = "\xD6\xD0";
const std::string Wen = "\xCE\xC4";

TEST(GbkLeadByte, RangeIs81ToFE) {
    EXPECT_FALSE(isGbkLeadByte(0x00));
    EXPECT_FALSE(isGbkLeadByte(0x7F));
    EXPECT_FALSE(isGbkLeadByte(0x80));
    EXPECT_TRUE(isGbkLeadByte(0x81));
    EXPECT_TRUE(isGbkLeadByte(0xFE));
    EXPECT_FALSE(isGbkLeadByte(0xFF));
}

TEST(CutAnsi, ShortTextIsUnchanged) {
    EXPECT_EQ(cutAnsi("abc", 3, isGbkLeadByte), "abc");
    EXPECT_EQ(cutAnsi("abc", 100, isGbkLeadByte), "abc");
    EXPECT_EQ(cutAnsi("", 0, isGbkLeadByte), "");
}

TEST(CutAnsi, ZeroLimitGivesEmpty) {
    EXPECT_EQ(cutAnsi(Zhong, 0, isGbkLeadByte), "");
}

TEST(CutAnsi, DoubleByteCharacterStraddlingTheLimitIsDropped) {
    EXPECT_EQ(cutAnsi("a" + Zhong, 2, isGbkLeadByte), "a");
    EXPECT_EQ(cutAnsi(Zhong + Wen, 3, isGbkLeadByte), Zhong);
    EXPECT_EQ(cutAnsi(Zhong + Wen, 4, isGbkLeadByte), Zhong + Wen);
}

TEST(CutAnsi, TrailByteInLeadRangeIsNotTakenForALead) {
    // 0x81 0x81 is one character; a backwards scan would see two leads and misjudge the cut.
    const std::string text = "\x81\x81\x81\x81"
                             "a";
    EXPECT_EQ(cutAnsi(text, 3, isGbkLeadByte), "\x81\x81");
    EXPECT_EQ(cutAnsi(text, 4, isGbkLeadByte), "\x81\x81\x81\x81");
}

TEST(CutAnsi, LeadByteEndingTheTextIsOneCharacter) {
    const std::string text = "ab\xD6";
    EXPECT_EQ(cutAnsi(text, 3, isGbkLeadByte), text);
    EXPECT_EQ(cutAnsi(text, 2, isGbkLeadByte), "ab");
}

TEST(CutAnsi, WithoutPredicateEveryByteIsACharacter) {
    EXPECT_EQ(cutAnsi(Zhong + Wen, 3, nullptr), Zhong + Wen.substr(0, 1));
}

TEST(CutWide, ShortTextIsUnchanged) {
    EXPECT_EQ(cutWide(L"abc", 3), L"abc");
    EXPECT_EQ(cutWide(L"", 0), L"");
    EXPECT_EQ(cutWide(L"abc", 0), L"");
}

TEST(CutUtf16, DoesNotSplitASurrogatePair) {
    const std::u16string text = u"ab\U0001F600c"; // a b <high> <low> c
    ASSERT_EQ(text.size(), 5u);
    EXPECT_EQ(core::cutUtf16(text, 3), u"ab");
    EXPECT_EQ(core::cutUtf16(text, 4), u"ab\U0001F600");
    EXPECT_EQ(core::cutUtf16(text, 2), u"ab");
    EXPECT_EQ(core::cutUtf16(u"\U0001F600", 1), u"");
}

TEST(CutUtf16, StrayHalvesAreCutLikeAnyUnit) {
    const std::u16string highThenLetter = {u'a', char16_t(0xD83D), u'b'};
    EXPECT_EQ(core::cutUtf16(highThenLetter, 2), highThenLetter.substr(0, 2));
    const std::u16string lowThenHigh = {char16_t(0xDE00), char16_t(0xD83D), char16_t(0xDE00)};
    EXPECT_EQ(core::cutUtf16(lowThenHigh, 1), lowThenHigh.substr(0, 1));
    EXPECT_EQ(core::cutUtf16(lowThenHigh, 2), lowThenHigh.substr(0, 1));
}

TEST(CutWide, FollowsTheUtf16RuleWhereWcharIs16Bit) {
    std::wstring text = L"ab";
    text += static_cast<wchar_t>(0xD83D);
    text += static_cast<wchar_t>(0xDE00);
    text += L"c";
    // With 32-bit wchar_t the halves are just units; with 16-bit they form one character.
    EXPECT_EQ(cutWide(text, 3), sizeof(wchar_t) == 2 ? L"ab" : text.substr(0, 3));
    EXPECT_EQ(cutWide(text, 4), text.substr(0, 4));
}

} // namespace
