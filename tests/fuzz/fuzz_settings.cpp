// The settings file's reader on arbitrary bytes: whatever the file holds, the
// values keep their limits, and written back they read back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/settingsfile.h"
#include "tests/fuzz/fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TSettingsValues values = ParseSettings(bytes);
    FUZZ_CHECK(values.recentFiles.size() <= kMaxRecentFiles);
    for (auto file = values.recentFiles.begin(); file != values.recentFiles.end(); ++file) {
        FUZZ_CHECK(!file->empty() && file->front() == u'/');
        FUZZ_CHECK(file->size() <= kMaxRecentPathUnits);
        FUZZ_CHECK(file->find(u'\0') == std::u16string::npos);
        FUZZ_CHECK(std::find(values.recentFiles.begin(), file, *file) == file);
    }
    FUZZ_CHECK(values.geometry.size() <= kMaxWindowBytes);
    FUZZ_CHECK(values.state.size() <= kMaxWindowBytes);
    FUZZ_CHECK(ParseSettings(SettingsText(values)) == values);
    return 0;
}
