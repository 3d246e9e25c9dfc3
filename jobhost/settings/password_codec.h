// How the store keeps its three passwords. The two one-byte keys are shared with the driver's
// user interface and are defined only in password_codec.cpp.
//
// - Document passwords: every UTF-16 unit exclusive-or'ed with the document key.
// - SMTP password: every character as its hexadecimal code in capital digits, the digits in
//   reverse order; only codes from 16 to 255 take exactly two digits and survive the trip.
// - SharePoint password: every character exclusive-or'ed with the SharePoint key and written
//   as two capital hexadecimal digits, high digit first; the result must lie below 256.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace password_codec {

std::u16string ScrambleDocumentPassword(std::u16string_view password);
std::u16string UnscrambleDocumentPassword(std::u16string_view stored);

// None when a character cannot be encoded so that it reads back the same.
std::optional<std::u16string> EncodeSmtpPassword(std::u16string_view password);
// None when the text holds something else than hexadecimal digits; a last, unpaired digit is
// ignored.
std::optional<std::u16string> DecodeSmtpPassword(std::u16string_view stored);

std::optional<std::u16string> EncodeSharePointPassword(std::u16string_view password);
std::optional<std::u16string> DecodeSharePointPassword(std::u16string_view stored);

}  // namespace password_codec
