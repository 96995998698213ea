// The pure rules under the storage code, each over a table of cases: where a
// module's directory ends, how integer texts read, how statements are
// formed, and the utility module's base64.

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>

#include "ZkDb/platform/Platform.h"
#include "ZkDb/tables/RowMapping.h"
#include "ZkDb/tables/SqlStatement.h"
#include "ZkLib/StringUtil.h"

using zkdb::frame::formStatement;

TEST(Rules, ModuleDirectoryIsCutAt127CharactersThenEndsAtTheLastSeparator) {
    const std::string a126(126, 'a');
    const struct {
        const char* name;
        char separator;
        std::string expected;
    } cases[] = {
        {"/opt/host/libsqlite3.so.0", '/', "/opt/host/"},
        {"C:\\Host\\bin\\sqlite3.dll", '\\', "C:\\Host\\bin\\"},
        {"sqlite3.dll", '\\', "sqlite3.dll\\"},  // no separator: taken whole, one appended
        {"", '/', ""},
        {nullptr, '/', ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zkdb::platform::directoryOfModule(c.name, c.separator), c.expected)
            << (c.name ? c.name : "null");
    }
    // Index 126 is the last character kept: a separator there counts, one
    // at 127 does not.
    const struct {
        std::string name;
        std::string expected;
    } bounds[] = {
        {a126 + "/tail", a126 + "/"},
        {a126 + "a/tail", a126 + "a/"},
        {"/" + a126 + "/tail", "/"},
        {"/" + std::string(120, 'd') + "/" + std::string(20, 'n') + "/lib.so",
         "/" + std::string(120, 'd') + "/"},
    };
    for (const auto& c : bounds) {
        EXPECT_EQ(zkdb::platform::directoryOfModule(c.name.c_str(), '/'), c.expected) << c.name;
    }
}

TEST(Rules, IntegerTextsReadLikeStreamExtraction) {
    for (const char* text : {"12",
                             "-3",
                             " 7",
                             "\t\n 8",
                             "\v\f\r42",
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
                             "",
                             "4 2",
                             "1e5",
                             "2147483647",
                             "2147483648",
                             "-2147483648",
                             "-2147483649",
                             "99999999999999999999999",
                             "-99999999999999999999999"}) {
        int expected = 0;
        std::stringstream(text) >> expected;
        EXPECT_EQ(zkdb::frame::parseInt(text), expected) << "'" << text << "'";
    }
    EXPECT_EQ(zkdb::frame::parseInt("2147483648"), INT_MAX);
    EXPECT_EQ(zkdb::frame::parseInt("-2147483649"), INT_MIN);
}

TEST(Rules, StatementsQuoteTextsCutThemAtNulAndGrowToFit) {
    const std::string big(100000, 'z');
    EXPECT_EQ(formStatement("a '%s' b %d c '%d' %%", {std::string("x"), -42, 7}),
              "a 'x' b -42 c '7' %");
    EXPECT_EQ(formStatement("v('%s')", {std::string("O'Brien''s")}), "v('O''Brien''''s')");
    EXPECT_EQ(formStatement("v('%s')", {std::string("ab\0cd'", 6)}), "v('ab')");
    EXPECT_EQ(formStatement("%d %d %d", {INT_MIN, INT_MAX, 0}), "-2147483648 2147483647 0");
    EXPECT_EQ(formStatement("'%s'", {big}), "'" + big + "'");
    // A placeholder without a value writes nothing; a lone '%' stands as it is.
    EXPECT_EQ(formStatement("%s|%d|50%|%x", {}), "||50%|%x");
}

namespace {

// Runs one base64 routine; the text it gives back, its reported length.
std::pair<std::string, int> base64(bool encode, const std::string& input, bool& ok) {
    unsigned char* out = nullptr;
    int length = -1;
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(input.data()));
    ok = encode
             ? StringUtil::data_base64_encode(bytes, static_cast<int>(input.size()), &out, &length)
             : StringUtil::data_base64_decode(bytes, static_cast<int>(input.size()), &out, &length);
    const std::string text = out != nullptr && length >= 0
                                 ? std::string(reinterpret_cast<char*>(out), length)
                                 : std::string("<none>");
    StringUtil::data_base64_free(out);
    return {text, length};
}

}  // namespace

TEST(Rules, Base64IsTheStandardAlphabetWithPadding) {
    const std::string binary("\x00\xff\xfe\x80\x3e\x3f", 6);
    const struct {
        std::string plain;
        std::string encoded;
    } pairs[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"admin", "YWRtaW4="},
        {binary, "AP/+gD4/"},
        {"zz~~", "enp+fg=="},
    };
    for (const auto& p : pairs) {
        bool ok = false;
        EXPECT_EQ(base64(true, p.plain, ok), std::make_pair(p.encoded, int(p.encoded.size())));
        EXPECT_TRUE(ok);
        EXPECT_EQ(base64(false, p.encoded, ok), std::make_pair(p.plain, int(p.plain.size())));
        EXPECT_TRUE(ok) << p.encoded;
    }
    // Anything else decodes to empty text and reports the failure.
    for (const char* bad : {"Zg=", "Zg=a", "Z===", "Zm9v!A==", "Zg==Zg==", "=Zg=", "Zm 9"}) {
        bool ok = true;
        EXPECT_EQ(base64(false, bad, ok), std::make_pair(std::string(), 0)) << bad;
        EXPECT_FALSE(ok) << bad;
    }
}
