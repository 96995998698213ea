#include "ZkDb/tables/TableFrame.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>

using zkdb::frame::formStatement;
using zkdb::frame::parseInt;

namespace {

int streamExtraction(const std::string& text) {
    int value = 0;
    std::stringstream stream(text);
    stream >> value;
    return value;
}

}  // namespace

TEST(TableFrame, IntegerTextsReadLikeStreamExtraction) {
    const char* cases[] = {"12",
                           "-3",
                           " 7",
                           "\t\n 8",
                           "12abc",
                           "abc",
                           "+5",
                           "-",
                           "+",
                           "- 5",
                           "0x10",
                           "007",
                           "3.9",
                           "-0",
                           " ",
                           "2147483647",
                           "2147483648",
                           "-2147483648",
                           "-2147483649",
                           "99999999999999999999999",
                           "-99999999999999999999999",
                           "1e5",
                           "\v\f\r42",
                           "4 2"};
    for (const char* text : cases) {
        EXPECT_EQ(parseInt(text), streamExtraction(text)) << "text: '" << text << "'";
    }
    EXPECT_EQ(parseInt("2147483648"), INT_MAX);
    EXPECT_EQ(parseInt("-2147483649"), INT_MIN);
}

TEST(TableFrame, StatementValuesAreQuotedCutAndGrown) {
    EXPECT_EQ(formStatement("a '%s' b %d c '%d' %%", {std::string("x"), -42, 7}),
              "a 'x' b -42 c '7' %");
    EXPECT_EQ(formStatement("v('%s')", {std::string("O'Brien''s")}), "v('O''Brien''''s')");
    EXPECT_EQ(formStatement("v('%s')", {std::string("ab\0cd'", 6)}), "v('ab')");
    EXPECT_EQ(formStatement("%d %d", {INT_MIN, INT_MAX}), "-2147483648 2147483647");

    const std::string big(100000, 'z');
    EXPECT_EQ(formStatement("'%s'", {big}), "'" + big + "'");

    // A placeholder without a value writes nothing; a lone '%' stands as it is.
    EXPECT_EQ(formStatement("%s|%d|50%", {}), "||50%");
}
