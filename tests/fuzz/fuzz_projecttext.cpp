// Project-file bytes to editor text and back. Any bytes decode into one kind of
// line break and split into lines that join back; any text without a lone
// surrogate comes back unchanged from its saved bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cp1251.h"
#include "formats/projectfile.h"
#include "tests/fuzz/fuzzcheck.h"

namespace {

[[nodiscard]] bool StartsWithMark(std::string_view bytes)
{
    for (const std::string_view mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
        if (bytes.substr(0, mark.size()) == mark)
            return true;
    return false;
}

// UTF-8 cannot carry a surrogate without its partner; every other text must survive.
[[nodiscard]] bool HasLoneSurrogate(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            return true;
    }
    return false;
}

void CheckDecoded(std::string_view bytes, const std::u16string& text)
{
    FUZZ_CHECK(text.find(u'\r') == std::u16string::npos);
    if (!StartsWithMark(bytes) && !IsUtf8Text(bytes)) {
        // Read as the code page: one character a byte, each CR LF pair one break.
        std::size_t pairs = 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
            pairs += bytes[i] == '\r' && bytes[i + 1] == '\n';
        FUZZ_CHECK(text.size() == bytes.size() - pairs);
    }
}

void CheckSplit(const std::u16string& text)
{
    const std::vector<std::u16string> lines = SplitEditorLines(text);
    std::u16string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(lines[i].find_first_of(u"\r\n") == std::u16string::npos);
        if (i > 0)
            joined += u'\n';
        joined += lines[i];
    }
    if (!text.empty() && text.back() == u'\n')
        joined += u'\n';
    FUZZ_CHECK(joined == text);
}

void CheckSaved(const std::u16string& text)
{
    const std::string saved = EncodeProjectText(text);
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] == '\n')
            FUZZ_CHECK(i > 0 && saved[i - 1] == '\r');
        if (saved[i] == '\r')
            FUZZ_CHECK(i + 1 < saved.size() && saved[i + 1] == '\n');
    }
    if (!HasLoneSurrogate(text))
        FUZZ_CHECK(DecodeProjectText(saved) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = DecodeProjectText(bytes);
    CheckDecoded(bytes, text);
    CheckSplit(text);
    CheckSaved(text);
    // The same bytes as an editor text typed in the code page's letters, breaks as "\n".
    std::u16string typed = DecodeCp1251(bytes);
    std::erase(typed, u'\r');
    CheckSaved(typed);
    return 0;
}
