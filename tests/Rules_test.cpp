// The pure rules under the storage code, each over a table of cases: where a
// module's directory ends, how statements are formed, and the utility
// module's base64. (How integer texts read is checked against stream
// extraction by the row mapping fuzz target.)

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>

#include "ZkDb/platform/Platform.h"
#include "ZkDb/tables/SqlStatement.h"
#include "ZkLib/Base64Length.h"
#include "ZkLib/StringUtil.h"

using zkdb::frame::formStatement;

TEST(Rules, ModuleDirectoryIsCutAt127CharactersThenEndsAtTheLastSeparator) {
    const std::string a126(126, 'a');
    const struct {
        std::string name;
        char separator;
        std::string expected;
    } cases[] = {
        {"/opt/host/libsqlite3.so.0", '/', "/opt/host/"},
        {"C:\\Host\\bin\\sqlite3.dll", '\\', "C:\\Host\\bin\\"},
        {"sqlite3.dll", '\\', "sqlite3.dll\\"},  // no separator: taken whole, one appended
        {"", '/', ""},
        // Index 126 is the last character kept: a separator there counts,
        // one at 127 does not.
        {a126 + "/tail", '/', a126 + "/"},
        {a126 + "a/tail", '/', a126 + "a/"},
        {"/" + a126 + "/tail", '/', "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zkdb::platform::directoryOfModule(c.name.c_str(), c.separator), c.expected)
            << c.name;
    }
    EXPECT_EQ(zkdb::platform::directoryOfModule(nullptr, '/'), "");
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

// Runs one base64 routine: whether it succeeded, and the text of the
// reported length it gave back.
std::string base64(bool encode, const char* input, int length) {
    unsigned char* out = nullptr;
    int outLength = -1;
    auto* in = reinterpret_cast<unsigned char*>(const_cast<char*>(input));
    const bool ok = encode ? StringUtil::data_base64_encode(in, length, &out, &outLength)
                           : StringUtil::data_base64_decode(in, length, &out, &outLength);
    std::string text = ok ? "ok:" : "failed:";
    const bool given = out != nullptr && outLength >= 0;  // text and length, failures too
    text += given ? std::string(reinterpret_cast<char*>(out), outLength) : "(none given)";
    StringUtil::data_base64_free(out);
    return text;
}

TEST(Rules, Base64IsTheStandardAlphabetWithPadding) {
    // The texts hold every edge of the alphabet and end in each padding.
    const std::pair<std::string, std::string> pairs[] = {
        {"", ""},
        {"f", "Zg=="},
        {"foobar", "Zm9vYmFy"},
        {"\x01\x96\xb3\xd3\xdf\xbf\x66\x6f", "AZaz09+/Zm8="},
    };
    for (const auto& [plain, encoded] : pairs) {
        EXPECT_EQ(base64(true, plain.data(), static_cast<int>(plain.size())), "ok:" + encoded);
        EXPECT_EQ(base64(false, encoded.c_str(), static_cast<int>(encoded.size())), "ok:" + plain);
    }
    EXPECT_EQ(base64(true, nullptr, 3), "ok:");  // no input, or a negative length, is empty
    EXPECT_EQ(base64(false, "Zg==", -4), "ok:");
    // Input whose text length an int cannot hold is refused before it is read.
    EXPECT_EQ(base64(true, "", 0x7fffffff / 4 * 3 + 1), "failed:");
    for (const auto& [count, length, fits] :
         {std::tuple<std::size_t, std::size_t, bool>{3, 4, true},
          {4, 8, true},
          {1610612733, 2147483644, true},
          {1610612734, 2147483648, false}}) {
        std::size_t textLength = 0;
        EXPECT_EQ(zklib::encodedLength(count, textLength), fits) << count;
        EXPECT_EQ(textLength, length) << count;
    }
    EXPECT_FALSE(StringUtil::data_base64_encode(nullptr, 0, nullptr, nullptr) ||
                 StringUtil::data_base64_decode(nullptr, 0, nullptr, nullptr));  // no `out`
    // Anything else decodes to empty text and reports the failure.
    for (const std::string bad : {"Zg=", "Zg=a", "Z===", "Zm9v!A==", "Zg==Zg==", "=Zg=", "Zm 9"}) {
        EXPECT_EQ(base64(false, bad.c_str(), static_cast<int>(bad.size())), "failed:") << bad;
    }
}
