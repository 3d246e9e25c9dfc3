// Small UTF-16 text helpers of the settings store: bounded lengths, decimal numbers as the
// store writes and reads them, key paths built from templates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace store_text {

// The text's length, counted no further than nLimit; 0 for a null text.
std::size_t BoundedLength(const char16_t* szText, std::size_t nLimit);

std::u16string Decimal(std::int64_t nValue);

// A plain decimal conversion: leading blanks, an optional sign, then leading digits; no
// digits give 0. The result is kept within 32 bits.
std::int32_t ParseDecimal(std::u16string_view text);

// Letters A to Z compared without regard to case.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

// The template with its first "%s" replaced by the name.
std::u16string FillTemplate(std::u16string_view keyTemplate, std::u16string_view name);

// The text up to its first terminator, reading no further than nChars characters.
std::u16string_view UpToTerminator(const char16_t* szText, std::size_t nChars);

}  // namespace store_text
