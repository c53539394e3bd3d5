// The small text and number readers every reply handler is built from.
//
// Replies are short ASCII texts; handlers walk them field by field with
// `ParseNumber` and `AfterComma`, and line by line with `AfterLineFeed`.
// Every helper here is a pure function of its text, never reads outside it
// and never loops past its end. White space is exactly space, TAB, CR, LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

bool IsWhiteSpace(char c);

// The text without its leading white space; trailing white space is kept.
std::string_view SkipWhiteSpace(std::string_view text);

// Digit tests look at the first character only. They are true for an empty
// text, so that a loop trimming trailing non-digits ends on an empty text.
bool IsDecimalDigit(std::string_view text);
bool IsOctalDigit(std::string_view text);
bool IsHexDigit(std::string_view text);
// True when the whole text is a run of "0-9a-zA-Z" in that order (so a
// single digit or ASCII letter is); true for an empty text.
bool IsBase62Text(std::string_view text);

// The signed decimal number at the start of the text, after white space and
// an optional minus (which may itself be followed by white space). -1 when
// the text does not start with a digit; 0 for an empty text. Digits stop
// being taken once the value has reached 6553, so 65535 reads 6553 while
// 65529 reads 65529, the largest result.
std::int32_t ParseNumber(std::string_view text);

// The number at the very start of the text (no white space skipped):
// decimal, octal after a leading 0 or hexadecimal after 0x/0X. A leading
// minus is removed from the caller's text. -1 when the text does not start
// with a digit. Digits stop being taken once the value reaches 6553
// (decimal), 8191 (octal) or 4095 (hexadecimal); 0x with no digit, and a 0
// followed by anything other than an octal digit or x, read 0.
std::int32_t ParseCNumber(std::string_view& text);

// The text after the first comma (or LF); the whole text when there is none.
std::string_view AfterComma(std::string_view text);
std::string_view AfterLineFeed(std::string_view text);

// Value of `key` in a "key=value;" list: the characters between the first
// occurrence of `key` and the next `delimiter`, with every "$" of the text
// dropped first. Empty when the key or the delimiter is missing.
std::string GetKeyValue(std::string_view text, std::string_view key, std::string_view delimiter);

// --- Further readers shared by the handlers ---------------------------------

// The text from position `count` on (empty when it is shorter).
std::string_view DropFront(std::string_view text, std::size_t count);
// The first `count` characters (all of them when it is shorter).
std::string_view TakeFront(std::string_view text, std::size_t count);
// The text without its last `count` characters (empty when it is shorter).
std::string_view DropBack(std::string_view text, std::size_t count);
// The text up to (not including) its first CR or LF.
std::string_view CutAtLineEnd(std::string_view text);
// The text after the first occurrence of `marker`; nullopt when absent.
std::optional<std::string_view> After(std::string_view text, std::string_view marker);
bool Contains(std::string_view text, std::string_view part);

char UpperAscii(char c);
// The text with its ASCII letters in lower case.
std::string LowerAscii(std::string_view text);
// The value of one hexadecimal digit, either case; -1 for any other character.
int HexDigitValue(char c);
// The first character upper-cased; '\0' for an empty text.
char FirstUpper(std::string_view text);

// A number as a person writes it in a label: white space, an optional sign,
// digits and an optional fraction after ".". 0 when no digit follows; always
// finite (an absurdly long run of digits saturates).
double LeadingNumber(std::string_view text);

// "0x" followed by the hexadecimal digits (upper-cased) that come right
// after `marker`; nullopt when the marker is absent. Register reads use it
// with ":= 0x", the download's address reply with "Addr = 0x".
std::optional<std::string> HexValueAfter(std::string_view text, std::string_view marker);

// A decimal number with no cap: white space, optional minus, digits. -1
// when no digit starts the text; saturates at the 32-bit limits.
std::int32_t ParseWideNumber(std::string_view text);

// Whether a value fits a 16-bit signed field of the monitor data.
bool FitsInt16(std::int64_t value);
bool FitsInt16(double value);

// Stores `value` into `field` when it fits 16 bits; otherwise the field keeps
// its previous value. Returns whether it stored.
bool StoreIfFits(std::int16_t& field, std::int64_t value);

} // namespace orlix
