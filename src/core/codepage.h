#pragma once

#include <cstddef>
#include <string>

namespace core {

// Tells whether a byte opens a double-byte character in the active ANSI code page.
using LeadBytePredicate = bool (*)(unsigned char);

// Lead bytes of code page 936; the stand-in for the ANSI code page away from Windows.
bool isGbkLeadByte(unsigned char b);

// Longest prefix of `text` of at most `maxBytes` bytes that does not end inside a double-byte
// character. A lead byte that is the last byte of the text counts as a one-byte character.
// A null predicate treats every byte as a whole character.
std::string cutAnsi(const std::string& text, std::size_t maxBytes, LeadBytePredicate isLead);

// Longest prefix of at most `maxUnits` wchar_t units that does not split a UTF-16 surrogate
// pair. Where wchar_t is 32-bit every unit is a whole character.
std::wstring cutWide(const std::wstring& text, std::size_t maxUnits);

// The UTF-16 rule of cutWide for any platform, so it can be checked where wchar_t is 32-bit.
std::u16string cutUtf16(const std::u16string& text, std::size_t maxUnits);

} // namespace core
