#include "jobhost/settings/store_text.h"

#include <limits>

namespace store_text {

std::size_t BoundedLength(const char16_t* szText, std::size_t nLimit) {
    if (!szText) return 0;
    std::size_t nLength = 0;
    while (nLength < nLimit && szText[nLength] != 0) ++nLength;
    return nLength;
}

std::u16string Decimal(std::int64_t nValue) {
    std::string digits = std::to_string(nValue);
    return std::u16string(digits.begin(), digits.end());
}

std::int32_t ParseDecimal(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) bNegative = text[i++] == u'-';
    std::int64_t nValue = 0;
    constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        nValue = nValue * 10 + (text[i] - u'0');
        if (nValue > kLimit) nValue = kLimit;
    }
    if (bNegative) nValue = -nValue;
    if (nValue > std::numeric_limits<std::int32_t>::max())
        nValue = std::numeric_limits<std::int32_t>::max();
    return std::int32_t(nValue);
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::u16string FillTemplate(std::u16string_view keyTemplate, std::u16string_view name) {
    std::u16string filled(keyTemplate);
    std::size_t nAt = filled.find(u"%s");
    if (nAt != std::u16string::npos) filled.replace(nAt, 2, name);
    return filled;
}

std::u16string_view UpToTerminator(const char16_t* szText, std::size_t nChars) {
    return std::u16string_view(szText, BoundedLength(szText, nChars));
}

}  // namespace store_text
