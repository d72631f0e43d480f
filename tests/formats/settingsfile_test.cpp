// The settings file's text: what older files hold reads back, and nothing
// hostile gets past the reader.
#include "formats/settingsfile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

struct TSettingsCase {
    const char* name;
    std::string text;
    std::vector<std::u16string> recentFiles;
    std::string geometry;
    std::uint32_t tickMs = 0;
};

std::string Repeated(std::string_view part, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

const TSettingsCase kSettingsCases[] = {
    {"as Qt writes them",
     "[General]\nrecentFiles=/a/b.veskp, \"/c/d, e.veskp\", /\xD0\xB1.veskp, /x\\\\y\n\n"
     "[window]\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb\\0\\x3\\0\\0\\x1\\x7f)\n",
     {u"/a/b.veskp", u"/c/d, e.veskp", u"/б.veskp", u"/x\\y"},
     std::string("\x01\xD9\xD0\xCB\0\x03\0\0\x01\x7F", 10)},
    {"one file is a plain string", "[General]\r\nrecentFiles=/only.veskp ; note\r\n", {u"/only.veskp"}, ""},
    {"a typed value is never a path or a geometry",
     "[General]\nrecentFiles=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQRegion\\0\\0\\0\\x1)\n"
     "[window]\ngeometry=@Variant(\\0\\0\\0\\f\\0\\0\\0\\x1)\n",
     {},
     ""},
    {"a geometry that is text", "[window]\ngeometry=100000x100000\n", {}, ""},
    {"a geometry beyond the limit",
     "[window]\ngeometry=@ByteArray(" + std::string(kMaxWindowBytes + 1, 'g') + ")\n", {}, ""},
    {"a geometry with a character above a byte", "[window]\ngeometry=@ByteArray(\\x100)\n", {}, ""},
    {"blanks, repeats, relative paths and extras are dropped",
     "recentFiles=, rel.veskp, /1, /1, \"\", /2, /3, /4, /5, /6, /7, /8, /9\n",
     {u"/1", u"/2", u"/3", u"/4", u"/5", u"/6", u"/7", u"/8"},
     ""},
    {"the last of a repeated key counts", "[General]\nrecentFiles=/old\nrecentFiles=/new\n", {u"/new"}, ""},
    {"other sections and keys are not ours",
     "[window]\nrecentFiles=/w\n[General]\ngeometry=@ByteArray(g)\n", {}, ""},
    {"a file beyond the cap is not read",
     "[General]\nrecentFiles=/big\n" + std::string(kSettingsFileCap, ';'), {}, ""},
    {"a path beyond PATH_MAX", "recentFiles=/" + Repeated("p", int(kMaxRecentPathUnits)) + "\n", {}, ""},
    {"the slowest pace", "[run]\ntickMs=1000\n", {}, "", 1000},
    {"a pace out of bounds or not plain digits is unset",
     "[run]\ntickMs=1001\n[run]\ntickMs=0\n[run]\ntickMs=+5\n[window]\ntickMs=5\n", {}, ""},
};

class SettingsCases : public testing::TestWithParam<TSettingsCase> {};

TEST_P(SettingsCases, ReadsOnlyWhatEachKeyCanBe)
{
    const TSettingsValues values = ParseSettings(GetParam().text);
    EXPECT_EQ(values.recentFiles, GetParam().recentFiles);
    EXPECT_EQ(values.geometry, GetParam().geometry);
    EXPECT_EQ(values.state, std::string());
    EXPECT_EQ(values.tickMs, GetParam().tickMs);
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsCases, testing::ValuesIn(kSettingsCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(SettingsBudget, OnlyPlainNumbersWithinBounds)
{
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"[history]\nbudgetMiB=128\n", 128},   {"[history]\nbudgetMiB=4096\n", 4096},
        {"[history]\nbudgetMiB=4097\n", 0},    {"[history]\nbudgetMiB=0\n", 0},
        {"[history]\nbudgetMiB=0x40\n", 0},    {"[history]\nbudgetMiB=-1\n", 0},
        {"[General]\nbudgetMiB=128\n", 0},     {"[history]\nbudgetMiB=99999999999\n", 0},
    };
    for (const auto& [text, mib] : cases)
        EXPECT_EQ(ParseSettings(text).historyBudgetMiB, mib) << text;
}

TEST(SettingsText, EveryByteAndAwkwardPathsComeBack)
{
    TSettingsValues values;
    for (int i = 0; i < 256; ++i)
        values.geometry += char(i);
    values.state = "3a\\\"=;, ";
    values.recentFiles = {u" /not first", u"/edge blank ", u"/q\"uo,te;s=\\", u"/\u0001" "1f",
                          u"/emoji \U0001F600", u"/lone \xD800" "a", u"/@at"};
    values.recentFiles[0].erase(0, 1);
    values.historyBudgetMiB = 256;
    values.tickMs = 250;
    EXPECT_EQ(ParseSettings(SettingsText(values)), values);
    EXPECT_EQ(SettingsText({}), std::string());
}

} // namespace
