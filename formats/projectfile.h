// The project file: the editor's text, CR LF between lines, Windows-1251 without a
// mark when the code page holds the text, otherwise UTF-8 with a mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Decodes a whole project file. A leading FF FE, FE FF or EF BB BF (tried in that
// order) selects UTF-16 LE, UTF-16 BE or UTF-8 and is dropped; bytes without a mark
// are UTF-8 when IsUtf8Text says so, otherwise Windows-1251. Every CR LF, lone CR
// and lone LF becomes one "\n".
[[nodiscard]] std::u16string DecodeProjectText(std::string_view bytes);

// Well-formed UTF-8 holding at least one non-ASCII character: the usual Linux text
// file. Windows-1251 Cyrillic text practically never is.
[[nodiscard]] bool IsUtf8Text(std::string_view bytes);

// Encodes editor text: every line break ("\n", "\r\n" or a lone "\r") becomes CR LF.
// Windows-1251 without a mark when every character fits and the bytes read back as
// the same text; otherwise UTF-8 after EF BB BF, so that nothing is replaced.
// No break is added.
[[nodiscard]] std::string EncodeProjectText(std::u16string_view text);

// The editor's line list of a text with "\n" (or CR LF, or CR) breaks: an empty
// last line after a final break is not a line, and an empty text has no lines.
[[nodiscard]] std::vector<std::u16string> SplitEditorLines(std::u16string_view text);
