// Row-to-record mapping with arbitrary column texts.
//
// Properties: every integer text reads exactly as a string stream's `int`
// extraction reads it; mapping rows one after the other leaves each text
// field with the last row's text (a missing column reads as empty text, and
// a column with a stand-in text reads it for empty text) and each integer
// field with the value of the last row whose text for it was not empty,
// the record's earlier value standing when there was none.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>

#include "FuzzHarness.h"
#include "ZkDb/storage/ResultRows.h"
#include "ZkDb/tables/DeviceTablePo.h"
#include "ZkDb/tables/RowMapping.h"
#include "ZkDb/tables/TableColumns.h"

namespace {

using namespace zkdb::frame;
using Po = DeviceTablePo;

// The device table's columns, as its access class maps them; "dev_status"
// reads "normal" for empty text.
constexpr const auto& kColumns = zkdb::columns::kDevice;

// The getter that reads back what each column above set.
struct Getter {
    std::string (Po::*text)() const;
    int (Po::*number)() const;
};
const Getter kGetters[] = {
    {&Po::getDevId, nullptr},           {&Po::getDevType, nullptr},
    {&Po::getDevIp, nullptr},           {nullptr, &Po::getDevPort},
    {&Po::getPluginName, nullptr},      {&Po::getDevLoginUser, nullptr},
    {&Po::getDevLoginPwd, nullptr},     {&Po::getDevStatus, nullptr},
    {nullptr, &Po::getChannelNum},      {nullptr, &Po::getChannelStartNo},
    {&Po::getEquipType, nullptr},       {&Po::getUpdateFlag, nullptr},
    {&Po::getMainRtspUri, nullptr},     {&Po::getSubRtspUri, nullptr},
    {&Po::getSnapshotUrl, nullptr},     {&Po::getMacAddr, nullptr},
    {&Po::getDevMfrs, nullptr},         {nullptr, &Po::getDevInter},
    {&Po::getSipServerIP, nullptr},     {nullptr, &Po::getSipServerPort},
    {&Po::getSipAccount, nullptr},      {&Po::getSipPwd, nullptr},
    {&Po::getDevEdition, nullptr},      {nullptr, &Po::getIsUseNvr},
    {&Po::getNvrIP, nullptr},           {nullptr, &Po::getNvrPort},
    {&Po::getNvrUserName, nullptr},     {&Po::getNvrPwd, nullptr},
    {nullptr, &Po::getIpcChannel},      {nullptr, &Po::getIsIpcRecord},
    {nullptr, &Po::getIpcRecordStream},
};
static_assert(std::size(kColumns) == std::size(kGetters), "one getter per column");

int streamExtraction(const std::string& text) {
    int value = 0;
    std::stringstream stream(text);
    stream >> value;
    return value;
}

void checkParse(const std::string& text) {
    const int parsed = parseInt(text);
    const int expected = streamExtraction(text);
    if (parsed != expected) {
        fuzz_harness::fail("parseInt(\"" + text + "\") = " + std::to_string(parsed) +
                           ", stream extraction gives " + std::to_string(expected));
    }
}

// Text that looks like a number more often than random bytes do.
std::string numberLike(FuzzedDataProvider& input) {
    static const char kAlphabet[] = " \t\n\v\f\r+-0123456789019x.e";
    std::string text = input.ConsumeRandomLengthString(32);
    for (char& c : text) {
        c = kAlphabet[static_cast<unsigned char>(c) % (sizeof(kAlphabet) - 1)];
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    constexpr std::size_t kCount = std::size(kColumns);

    // A record with values of its own, so fields that no row sets are seen
    // to keep them.
    Po record;
    std::string texts[kCount];
    int numbers[kCount] = {};
    for (std::size_t c = 0; c < kCount; ++c) {
        if (kColumns[c].setText != nullptr) {
            texts[c] = input.ConsumeRandomLengthString(8);
            (record.*kColumns[c].setText)(texts[c]);
        } else {
            numbers[c] = input.ConsumeIntegral<int>();
            (record.*kColumns[c].setInt)(numbers[c]);
        }
    }

    ResultRows rows(input.ConsumeIntegralInRange<std::size_t>(0, 4));
    for (auto& row : rows) {
        for (std::size_t c = 0; c < kCount; ++c) {
            switch (input.ConsumeIntegralInRange(0, 3)) {
                case 0:
                    break;  // column missing from the row
                case 1:
                    row[kColumns[c].name] = std::string();
                    break;
                case 2:
                    row[kColumns[c].name] = numberLike(input);
                    break;
                default:
                    row[kColumns[c].name] = input.ConsumeRandomLengthString(32);
                    break;
            }
        }
        if (input.ConsumeBool()) {
            row[input.ConsumeRandomLengthString(8)] = input.ConsumeRandomLengthString(8);
        }
    }
    checkParse(input.ConsumeRemainingBytesAsString());

    // What the rows should leave in the record.
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < kCount; ++c) {
            const auto found = row.find(kColumns[c].name);
            const std::string value = found == row.end() ? std::string() : found->second;
            if (kColumns[c].setText != nullptr) {
                texts[c] = value.empty() && kColumns[c].whenEmpty != nullptr ? kColumns[c].whenEmpty
                                                                             : value;
            } else if (!value.empty()) {
                checkParse(value);
                numbers[c] = streamExtraction(value);
            }
        }
    }

    for (const auto& row : rows) {
        mapRow(row, record, kColumns);
    }

    for (std::size_t c = 0; c < kCount; ++c) {
        if (kGetters[c].text != nullptr) {
            if ((record.*kGetters[c].text)() != texts[c]) {
                fuzz_harness::fail(std::string("text column ") + kColumns[c].name +
                                   " mapped wrongly");
            }
        } else if ((record.*kGetters[c].number)() != numbers[c]) {
            fuzz_harness::fail(std::string("integer column ") + kColumns[c].name +
                               " mapped wrongly");
        }
    }
    return 0;
}
