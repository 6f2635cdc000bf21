// Text helpers of the exchange formats: a file's lines as views into one string, text from a file
// made fit for a message, and names cut without splitting a UTF-8 character.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sarnova {

// The lines of Text (ended by LF, CR LF or a lone CR) as views into it: a file read once and parsed
// in place, without a string for every line.
std::vector<std::string_view> SplitLineViews(std::string_view Text);

// Text from a file made fit for a message: control characters (but tab and line ends) and bytes that are no UTF-8 shown as
// "\xNN", cut after MaxLength characters with "...".
std::string PrintableText(std::string_view Text, std::size_t MaxLength = 80);

// The longest start of Text of at most MaxBytes bytes that does not end inside a UTF-8 character.
std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes);

}  // namespace sarnova
