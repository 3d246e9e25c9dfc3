#include "jobhost/settings/password_codec.h"

#include <cstdint>

namespace password_codec {
namespace {

// The store's two scrambling keys.
constexpr char16_t kDocumentPasswordKey = 0x1F;
constexpr char16_t kSharePointPasswordKey = 0xA5;

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

}  // namespace

std::u16string ScrambleDocumentPassword(std::u16string_view password) {
    std::u16string stored(password);
    for (char16_t& c : stored) c = char16_t(c ^ kDocumentPasswordKey);
    return stored;
}

std::u16string UnscrambleDocumentPassword(std::u16string_view stored) {
    return ScrambleDocumentPassword(stored);
}

std::optional<std::u16string> EncodeSmtpPassword(std::u16string_view password) {
    std::u16string stored;
    for (char16_t c : password) {
        if (c < 16 || c > 255) return std::nullopt;
        stored.push_back(kHexDigits[c & 0xF]);
        stored.push_back(kHexDigits[c >> 4]);
    }
    return stored;
}

std::optional<std::u16string> DecodeSmtpPassword(std::u16string_view stored) {
    std::u16string password;
    for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
        int nLow = HexValue(stored[i]);
        int nHigh = HexValue(stored[i + 1]);
        if (nLow < 0 || nHigh < 0) return std::nullopt;
        password.push_back(char16_t(nHigh << 4 | nLow));
    }
    if (stored.size() % 2 && HexValue(stored.back()) < 0) return std::nullopt;
    return password;
}

std::optional<std::u16string> EncodeSharePointPassword(std::u16string_view password) {
    std::u16string stored;
    for (char16_t c : password) {
        char16_t scrambled = char16_t(c ^ kSharePointPasswordKey);
        if (scrambled > 0xFF) return std::nullopt;
        stored.push_back(kHexDigits[scrambled >> 4]);
        stored.push_back(kHexDigits[scrambled & 0xF]);
    }
    return stored;
}

std::optional<std::u16string> DecodeSharePointPassword(std::u16string_view stored) {
    std::u16string password;
    for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
        int nHigh = HexValue(stored[i]);
        int nLow = HexValue(stored[i + 1]);
        if (nHigh < 0 || nLow < 0) return std::nullopt;
        password.push_back(char16_t((nHigh << 4 | nLow) ^ kSharePointPasswordKey));
    }
    if (stored.size() % 2 && HexValue(stored.back()) < 0) return std::nullopt;
    return password;
}

}  // namespace password_codec
