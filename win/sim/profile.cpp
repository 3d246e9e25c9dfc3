// The simulated INI file calls, on the simulated files through the seam's own file calls. A
// call loads the whole file, works on its sections in memory and writes the file back only
// when it changed, as the platform does: blank lines dropped, names and values trimmed, lines
// ended by CR LF, the file's encoding kept.
#include "win/profile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "state.h"
#include "win/file.h"
#include "win/sim/machine.h"

namespace win::ini {
namespace {

using win::sim::detail::folded;
using win::sim::detail::fromUtf16;

enum class Encoding { ansi, utf16le, utf16be, utf8 };

struct Entry {
    std::u16string name;
    std::optional<std::u16string> value;  // none for a line without "="
};

struct Section {
    std::u16string name;
    std::vector<Entry> entries;
};

// sections[0] holds the lines before the first section header; it has no name.
struct Profile {
    Encoding encoding = Encoding::ansi;
    std::vector<Section> sections{Section{}};
};

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' ||
           c == 0x1A;
}

// A new name loses its leading blanks only, as the platform stores it.
std::u16string withoutLeadingBlanks(const std::u16string& text) {
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin])) ++begin;
    return text.substr(begin);
}

std::u16string trimmed(const std::u16string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// ---- encodings -----------------------------------------------------------------------------

std::u16string decodeUtf8(const std::string& bytes, std::size_t from) {
    std::u16string out;
    std::size_t i = from;
    while (i < bytes.size()) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead < 0x80           ? 0
                    : (lead >> 5) == 0x6  ? 1
                    : (lead >> 4) == 0xE  ? 2
                    : (lead >> 3) == 0x1E ? 3
                                          : -1;
        if (extra < 0 || i + std::size_t(extra) >= bytes.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        i += std::size_t(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(char16_t(0xD800 + (code >> 10)));
            out.push_back(char16_t(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(char16_t(code));
        }
    }
    return out;
}

void appendUtf8(std::string& out, char16_t unit) {
    if (unit < 0x80) {
        out.push_back(char(unit));
    } else if (unit < 0x800) {
        out.push_back(char(0xC0 | (unit >> 6)));
        out.push_back(char(0x80 | (unit & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (unit >> 12)));
        out.push_back(char(0x80 | ((unit >> 6) & 0x3F)));
        out.push_back(char(0x80 | (unit & 0x3F)));
    }
}

std::u16string decode(const std::string& bytes, Encoding* encoding) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::u16string text;
    if (bytes.size() >= 2 && (byte(0) == 0xFF && byte(1) == 0xFE)) {
        *encoding = Encoding::utf16le;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(char16_t(byte(i) | (byte(i + 1) << 8)));
    } else if (bytes.size() >= 2 && (byte(0) == 0xFE && byte(1) == 0xFF)) {
        *encoding = Encoding::utf16be;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(char16_t((byte(i) << 8) | byte(i + 1)));
    } else if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        *encoding = Encoding::utf8;
        text = decodeUtf8(bytes, 3);
    } else {
        // The simulated machine's 8-bit code page: one byte, one character below 0x100.
        *encoding = Encoding::ansi;
        for (std::size_t i = 0; i < bytes.size(); ++i) text.push_back(byte(i));
    }
    return text;
}

std::string encode(const std::u16string& text, Encoding encoding) {
    std::string out;
    switch (encoding) {
        case Encoding::ansi:
            for (char16_t c : text) out.push_back(c < 0x100 ? char(c) : '?');
            break;
        case Encoding::utf16le:
            out = "\xFF\xFE";
            for (char16_t c : text) {
                out.push_back(char(c & 0xFF));
                out.push_back(char(c >> 8));
            }
            break;
        case Encoding::utf16be:
            out = "\xFE\xFF";
            for (char16_t c : text) {
                out.push_back(char(c >> 8));
                out.push_back(char(c & 0xFF));
            }
            break;
        case Encoding::utf8:
            out = "\xEF\xBB\xBF";
            for (char16_t c : text) appendUtf8(out, c);
            break;
    }
    return out;
}

// ---- parsing and writing -------------------------------------------------------------------

Profile parse(const std::u16string& text, Encoding encoding) {
    Profile profile;
    profile.encoding = encoding;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", pos);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        if (line[0] == u'[') {
            std::size_t close = line.rfind(u']');
            if (close != std::u16string::npos && close > 0) {
                profile.sections.push_back({trimmed(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        std::size_t equals = line.find(u'=');
        Entry entry;
        if (equals == std::u16string::npos) {
            entry.name = line;
        } else {
            entry.name = trimmed(line.substr(0, equals));
            entry.value = trimmed(line.substr(equals + 1));
        }
        profile.sections.back().entries.push_back(std::move(entry));
    }
    return profile;
}

std::u16string render(const Profile& profile) {
    std::u16string text;
    for (std::size_t i = 0; i < profile.sections.size(); ++i) {
        const Section& section = profile.sections[i];
        if (i > 0) text += u"[" + section.name + u"]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.name;
            if (entry.value) text += u"=" + *entry.value;
            text += u"\r\n";
        }
    }
    return text;
}

bool sameName(const std::u16string& a, const std::u16string& b) {
    return folded(a) == folded(b);
}

// Names are looked up with their blanks trimmed.
Section* findSection(Profile& profile, const std::u16string& wanted) {
    std::u16string name = trimmed(wanted);
    if (name.empty()) return &profile.sections[0];
    for (std::size_t i = 1; i < profile.sections.size(); ++i)
        if (sameName(profile.sections[i].name, name)) return &profile.sections[i];
    return nullptr;
}

Entry* findEntry(Section& section, const std::u16string& wanted) {
    std::u16string name = trimmed(wanted);
    for (Entry& entry : section.entries)
        if (sameName(entry.name, name)) return &entry;
    return nullptr;
}

// ---- the file ------------------------------------------------------------------------------

enum class LoadResult { loaded, missing, failed };

LoadResult load(const char16_t* file, Profile* profile) {
    file::UniqueFile handle(file::create(file, file::access::genericRead,
                                         file::share::read | file::share::write,
                                         file::disposition::openExisting, file::attributeNormal));
    if (!handle)
        return getLastError() == Dword(err::fileNotFound) ? LoadResult::missing
                                                          : LoadResult::failed;
    std::int64_t size = 0;
    if (!file::getSize(handle.get(), &size) || size < 0) return LoadResult::failed;
    std::string bytes(std::size_t(size), '\0');
    Dword done = 0;
    while (done < bytes.size()) {
        Dword got = 0;
        if (!file::read(handle.get(), bytes.data() + done, Dword(bytes.size() - done), &got))
            return LoadResult::failed;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    Encoding encoding = Encoding::ansi;
    std::u16string text = decode(bytes, &encoding);
    *profile = parse(text, encoding);
    return LoadResult::loaded;
}

bool save(const char16_t* file, const Profile& profile) {
    file::UniqueFile handle(file::create(file, file::access::genericWrite, file::share::none,
                                         file::disposition::createAlways, file::attributeNormal));
    if (!handle) return false;
    std::string bytes = encode(render(profile), profile.encoding);
    Dword written = 0;
    if (!file::write(handle.get(), bytes.data(), Dword(bytes.size()), &written)) return false;
    if (written != bytes.size()) {
        setLastError(err::writeFault);
        return false;
    }
    return true;
}

// The value of key in section, quotes removed; none when the key is missing or has no value.
std::optional<std::u16string> lookUp(Profile& profile, const char16_t* section,
                                     const char16_t* key) {
    Section* found = findSection(profile, fromUtf16(section));
    if (!found) return std::nullopt;
    Entry* entry = findEntry(*found, fromUtf16(key));
    if (!entry || !entry->value) return std::nullopt;
    std::u16string value = *entry->value;
    if (value.size() > 1 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value;
}

Dword copyText(const std::u16string& text, char16_t* buffer, Dword sizeChars) {
    Dword count = Dword(std::min<std::size_t>(text.size(), sizeChars - 1));
    for (Dword i = 0; i < count; ++i) buffer[i] = text[i];
    buffer[count] = 0;
    return count;
}

// Names each ended by a terminator, the list by one more.
Dword copyList(const std::vector<std::u16string>& names, char16_t* buffer, Dword sizeChars) {
    std::u16string list;
    for (const std::u16string& name : names) {
        list += name;
        list.push_back(0);
    }
    if (list.size() + 1 <= sizeChars) {
        for (std::size_t i = 0; i < list.size(); ++i) buffer[i] = list[i];
        buffer[list.size()] = 0;
        return Dword(list.size());
    }
    if (sizeChars < 2) {
        buffer[0] = 0;
        return 0;
    }
    Dword kept = sizeChars - 2;
    for (Dword i = 0; i < kept; ++i) buffer[i] = list[i];
    buffer[kept] = 0;
    buffer[kept + 1] = 0;
    return kept;
}

std::u16string defaultText(const char16_t* defaultValue) {
    std::u16string text = fromUtf16(defaultValue);
    while (!text.empty() && isBlank(text.back())) text.pop_back();
    return text;
}

// Applies one write to the profile; false when nothing changed.
bool apply(Profile& profile, const std::u16string& sectionName, const char16_t* key,
           const char16_t* value) {
    Section* section = findSection(profile, sectionName);
    if (!key) {
        if (!section) return false;
        if (section == &profile.sections[0]) {
            bool had = !section->entries.empty();
            section->entries.clear();
            return had;
        }
        profile.sections.erase(profile.sections.begin() + (section - profile.sections.data()));
        return true;
    }
    std::u16string keyName = trimmed(fromUtf16(key));
    if (!value) {
        if (!section) return false;
        for (auto it = section->entries.begin(); it != section->entries.end(); ++it) {
            if (sameName(it->name, keyName)) {
                section->entries.erase(it);
                return true;
            }
        }
        return false;
    }
    std::u16string text = trimmed(fromUtf16(value));
    if (!section) {
        profile.sections.push_back({withoutLeadingBlanks(sectionName), {}});
        section = &profile.sections.back();
    }
    if (Entry* entry = findEntry(*section, keyName)) {
        if (entry->value && *entry->value == text) return false;
        entry->value = text;
        return true;
    }
    section->entries.push_back({withoutLeadingBlanks(fromUtf16(key)), text});
    return true;
}

// Digits in the base a prefix selects, stopping at the first other character; wraps at 32 bits
// as the platform does.
Dword toNumber(const std::u16string& text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    Dword base = 10;
    if (i + 1 < text.size() && text[i] == u'0') {
        char16_t marker = text[i + 1] | 0x20;
        if (marker == u'x') base = 16;
        if (marker == u'o') base = 8;
        if (marker == u'b') base = 2;
        if (base != 10) i += 2;
    }
    Dword value = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        Dword digit;
        if (c >= u'0' && c <= u'9')
            digit = Dword(c - u'0');
        else if ((c | 0x20) >= u'a' && (c | 0x20) <= u'f')
            digit = Dword((c | 0x20) - u'a' + 10);
        else
            break;
        if (digit >= base) break;
        value = value * base + digit;
    }
    return negative ? Dword(0u - value) : value;
}

}  // namespace

bool writeString(const char16_t* section, const char16_t* key, const char16_t* value,
                 const char16_t* file) {
    if (Dword fault = win::sim::takeFault("WritePrivateProfileString")) {
        setLastError(fault);
        return false;
    }
    if (!section || !file) {
        setLastError(err::fileNotFound);
        return false;
    }
    Profile profile;
    LoadResult loaded = load(file, &profile);
    if (loaded == LoadResult::failed) return false;
    if (!apply(profile, fromUtf16(section), key, value)) return true;
    return save(file, profile);
}

Dword readString(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                 char16_t* buffer, Dword sizeChars, const char16_t* file) {
    if (!buffer || sizeChars == 0) return 0;
    if (Dword fault = win::sim::takeFault("GetPrivateProfileString")) {
        setLastError(fault);
        buffer[0] = 0;
        return 0;
    }
    Profile profile;
    bool loaded = file && load(file, &profile) == LoadResult::loaded;
    if (!section) {
        std::vector<std::u16string> names;
        for (std::size_t i = 1; i < profile.sections.size(); ++i)
            names.push_back(profile.sections[i].name);
        return copyList(names, buffer, sizeChars);
    }
    if (!key) {
        std::vector<std::u16string> names;
        if (Section* found = loaded ? findSection(profile, fromUtf16(section)) : nullptr)
            for (const Entry& entry : found->entries)
                if (entry.value && !entry.name.empty() && entry.name[0] != u';')
                    names.push_back(entry.name);
        if (!names.empty()) return copyList(names, buffer, sizeChars);
        return copyText(defaultText(defaultValue), buffer, sizeChars);
    }
    std::optional<std::u16string> value = loaded ? lookUp(profile, section, key) : std::nullopt;
    return copyText(value ? *value : defaultText(defaultValue), buffer, sizeChars);
}

Dword readInt(const char16_t* section, const char16_t* key, Long defaultValue,
              const char16_t* file) {
    if (Dword fault = win::sim::takeFault("GetPrivateProfileInt")) {
        setLastError(fault);
        return Dword(defaultValue);
    }
    Profile profile;
    if (!section || !key || !file || load(file, &profile) != LoadResult::loaded)
        return Dword(defaultValue);
    std::optional<std::u16string> value = lookUp(profile, section, key);
    if (!value || value->empty()) return Dword(defaultValue);
    return toNumber(*value);
}

}  // namespace win::ini
