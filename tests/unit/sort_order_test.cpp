#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/column_headings.h"
#include "core/sort_order.h"

namespace {

using core::compareSortTexts;

// "开会" (meeting) and "起床" (get up) in code page 936.
const std::string Meeting = "\xBF\xAA\xBB\xE1";
const std::string GetUp = "\xC6\xF0\xB4\xB2";

// Texts of every kind and of none, with the near misses each parser must turn away.
std::vector<std::string> mixedTexts() {
    const std::vector<std::string> pieces = {"",
                                             " ",
                                             "0",
                                             "-0",
                                             "+0",
                                             "007",
                                             "9",
                                             "10",
                                             "-5",
                                             "+5",
                                             "-",
                                             "+",
                                             "1+2",
                                             "1.5",
                                             "99999999999999999999",
                                             "-99999999999999999999",
                                             "08:00:00",
                                             "8:00:00",
                                             "10:30:00",
                                             "23:59:59",
                                             "24:00:00",
                                             "10:5:00",
                                             "2008-01-01",
                                             "2008/1/1",
                                             "2008-02-30",
                                             "2008-01-01 10:30:00",
                                             "1999-12-31 23:59:59",
                                             "abc",
                                             "ABC",
                                             "10abc",
                                             Meeting,
                                             GetUp,
                                             "\xFF\x80",
                                             "\x80",
                                             " 9 ",
                                             "\t10:30:00 "};
    std::mt19937 random(20260407);
    std::vector<std::string> texts = pieces;
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int i = 0; i < 24; ++i) {
        // Joined pieces give texts that look almost like a number, a time or a date.
        texts.push_back(pieces[pick(random)] + pieces[pick(random)]);
    }
    return texts;
}

TEST(SortOrder, IsAStrictWeakOrderingOverMixedTexts) {
    const std::vector<std::string> texts = mixedTexts();
    for (const std::string& a : texts) {
        EXPECT_EQ(compareSortTexts(a, a), 0) << a;
        for (const std::string& b : texts) {
            const int ab = compareSortTexts(a, b);
            ASSERT_EQ(ab, -compareSortTexts(b, a)) << a << " / " << b;
            // Descending is the exact reverse of ascending.
            ASSERT_EQ(compareSortTexts(a, b, false), -ab) << a << " / " << b;
            for (const std::string& c : texts) {
                const int bc = compareSortTexts(b, c);
                if (ab <= 0 && bc <= 0) {
                    // Both "less" and "equivalent" carry over.
                    ASSERT_LE(compareSortTexts(a, c), 0) << a << " / " << b << " / " << c;
                    if (ab == 0 && bc == 0)
                        ASSERT_EQ(compareSortTexts(a, c), 0) << a << " / " << b << " / " << c;
                    if (ab < 0 || bc < 0)
                        ASSERT_LT(compareSortTexts(a, c), 0) << a << " / " << b << " / " << c;
                }
            }
        }
    }
}

TEST(SortOrder, EachKindSortsByItsOwnRule) {
    EXPECT_LT(compareSortTexts("9", "10"), 0);
    EXPECT_LT(compareSortTexts("-10", "-9"), 0);
    EXPECT_EQ(compareSortTexts("007", "+7"), 0);
    EXPECT_LT(compareSortTexts("08:00:00", "10:30:00"), 0);
    EXPECT_LT(compareSortTexts("9:00:00", "10:30:00"), 0);
    EXPECT_LT(compareSortTexts("2008-01-01 23:00:00", "2008/1/2"), 0);
    EXPECT_LT(compareSortTexts(Meeting, GetUp), 0);
    EXPECT_GT(compareSortTexts(Meeting, GetUp, false), 0);
    EXPECT_EQ(compareSortTexts(" abc\t", "abc"), 0);
}

TEST(SortOrder, KindsComeInOrderWhicheverTextIsFirst) {
    // Empty, integer, date or time, text: a text never changes kind with its partner.
    const std::vector<std::string> ascending = {" ",   "10",  "08:00:00", "2008-01-01",
                                                "1.5", "abc", Meeting};
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i) {
        EXPECT_LT(compareSortTexts(ascending[i], ascending[i + 1]), 0) << ascending[i];
        EXPECT_GT(compareSortTexts(ascending[i + 1], ascending[i]), 0) << ascending[i];
    }
}

TEST(SortOrder, IntegerTexts) {
    EXPECT_TRUE(core::isIntegerText("-5"));
    EXPECT_TRUE(core::isIntegerText("+5"));
    EXPECT_TRUE(core::isIntegerText("0"));
    EXPECT_FALSE(core::isIntegerText("-"));
    EXPECT_FALSE(core::isIntegerText("+"));
    EXPECT_FALSE(core::isIntegerText("1+2"));
    EXPECT_FALSE(core::isIntegerText("1.5"));
    EXPECT_FALSE(core::isIntegerText(""));
    EXPECT_FALSE(core::isIntegerText("\xB9\xB2")); // double-byte, not digits
}

TEST(ColumnHeadings, NamesAreKeptAsWrittenAndWidthsAtLeastOne) {
    const auto columns = core::parseColumnHeadings(L"闹铃时间, 80; 提醒内容, 260");
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].name, L"闹铃时间");
    EXPECT_EQ(columns[0].width, 80);
    EXPECT_EQ(columns[1].name, L" 提醒内容");
    EXPECT_EQ(columns[1].width, 260);
    EXPECT_EQ(columns[1].alignment, core::ColumnAlignment::Left);

    const auto coded = core::parseColumnHeadings(L"R,2,50;C, 1 ,7;L,3,9;Z,0;N,-4");
    ASSERT_EQ(coded.size(), 5u);
    EXPECT_EQ(coded[0].alignment, core::ColumnAlignment::Right);
    EXPECT_EQ(coded[0].width, 50);
    EXPECT_EQ(coded[1].alignment, core::ColumnAlignment::Centre);
    EXPECT_EQ(coded[1].width, 7);
    EXPECT_EQ(coded[2].alignment, core::ColumnAlignment::Left);
    EXPECT_EQ(coded[3].width, 1);
    EXPECT_EQ(coded[4].width, 1);
}

TEST(ColumnHeadings, AnEntryWithoutACommaEndsTheList) {
    const auto columns = core::parseColumnHeadings(L"A,10;no comma;B,20");
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0].name, L"A");
    EXPECT_EQ(core::parseColumnHeadings(L"A,10;").size(), 1u);
    EXPECT_TRUE(core::parseColumnHeadings(L"").empty());
}

} // namespace
