#pragma once
// The order of the sortable list's cell texts (bytes of the ANSI code page). Each text is
// classified on its own: empty, integer, date or time of day, other text. The classes come in
// that order and each is compared within itself, so this is a strict weak ordering whatever mix
// a column holds, and it does not depend on the user's locale.
#include <string>

namespace core {

// Without leading and trailing white space. Only ASCII bytes count as white space, and no
// trail byte of a double-byte character is below 0x40, so a byte scan never splits a character.
std::string trimSpace(const std::string& text);

// Digits only, with an optional sign in front of at least one digit ("-5", "+5"; not "-", "1+2",
// "1.5").
bool isIntegerText(const std::string& text);

enum class SortKind { Empty, Integer, DateTime, Text };
SortKind sortKindOf(const std::string& trimmedText);

// -1, 0 or 1 for the ascending order of two cell texts (each trimmed first): empty texts first,
// then integers by value, then dates and times of day chronologically ("YYYY-M-D" or "YYYY/M/D",
// optionally followed by "H:MM:SS"; a time alone comes before every date), then other texts by
// their bytes as unsigned values (for code page 936, the order of the characters' codes).
int compareSortTexts(const std::string& a, const std::string& b);
// Descending is the exact reverse of ascending.
int compareSortTexts(const std::string& a, const std::string& b, bool ascending);

} // namespace core
