#pragma once
// Text helpers of the vCard reader: splitting, case, the value encodings.

#include <string>
#include <string_view>
#include <vector>

namespace vcard {

std::string Upper(std::string_view s);  // ASCII letters only
std::string Trim(std::string_view s);   // blanks and tabs at both ends
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// Splits at sep outside double quotes (parameter lists). Always at least one part.
std::vector<std::string_view> SplitUnquoted(std::string_view s, char sep);
// Splits at sep not preceded by a backslash (structured values).
std::vector<std::string_view> SplitEscaped(std::string_view s, char sep);
// A parameter value without its surrounding double quotes.
std::string_view Unquote(std::string_view s);

// "\n" and "\N" become a blank (names are one line); "\," "\;" "\\" their character.
std::string Unescape(std::string_view s);
// Quoted-printable: "=XX" decoded; a malformed escape is kept as written.
std::string DecodeQuotedPrintable(std::string_view s);
bool IsValidUtf8(std::string_view s);
std::string Windows1252ToUtf8(std::string_view s);

}  // namespace vcard
