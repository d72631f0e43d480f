// The project file: the editor's text, CR LF between lines, Windows-1251, no mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Decodes a whole project file. A leading FF FE, FE FF or EF BB BF (tried in that
// order) selects UTF-16 LE, UTF-16 BE or UTF-8 and is dropped; otherwise the bytes
// are Windows-1251. Every CR LF, lone CR and lone LF becomes one "\n".
[[nodiscard]] std::u16string DecodeProjectText(std::string_view bytes);

// Encodes editor text: every line break ("\n", "\r\n" or a lone "\r") becomes CR LF,
// the text becomes Windows-1251 with '?' for what it lacks. No mark, no added break,
// unless those bytes would begin like a mark: then UTF-8 with its mark.
[[nodiscard]] std::string EncodeProjectText(std::u16string_view text);

// The editor's line list of a text with "\n" (or CR LF, or CR) breaks: an empty
// last line after a final break is not a line, and an empty text has no lines.
[[nodiscard]] std::vector<std::u16string> SplitEditorLines(std::u16string_view text);
