// Simulated environment variables: names compared without regard to case.
#include "win/environment.h"

#include <map>

#include "state.h"
#include "win/sim/machine.h"

namespace win::sim::detail {
namespace {

struct Variable {
    std::u16string name;
    std::u16string value;
};

std::map<std::u16string, Variable>& variables() {
    static std::map<std::u16string, Variable> vars;
    return vars;
}

void put(const std::u16string& name, const std::u16string& value) {
    variables()[folded(name)] = {name, value};
}

const std::u16string* find(const std::u16string& name) {
    auto it = variables().find(folded(name));
    return it == variables().end() ? nullptr : &it->second.value;
}

std::u16string expand(const std::u16string& source) {
    std::u16string out;
    std::size_t i = 0;
    while (i < source.size()) {
        std::size_t close = std::u16string::npos;
        if (source[i] == u'%') close = source.find(u'%', i + 1);
        if (close != std::u16string::npos) {
            const std::u16string* value = find(source.substr(i + 1, close - i - 1));
            if (value) {
                out += *value;
                i = close + 1;
                continue;
            }
            // An unknown name stays as it is, both signs included.
            out += source.substr(i, close - i + 1);
            i = close + 1;
            continue;
        }
        out.push_back(source[i++]);
    }
    return out;
}

template <typename Char>
Dword getImpl(const std::u16string& name, Char* buffer, Dword size) {
    const std::u16string* value = find(name);
    if (!value) {
        setLastError(err::envvarNotFound);
        return 0;
    }
    if (!buffer || size <= value->size()) return Dword(value->size() + 1);
    copyText(*value, buffer);
    return Dword(value->size());
}

template <typename Char>
Dword expandImpl(const std::u16string& source, Char* buffer, Dword size) {
    std::u16string text = expand(source);
    Dword needed = Dword(text.size() + 1);
    if (buffer && size >= needed) copyText(text, buffer);
    return needed;
}

}  // namespace

void resetEnvironment() {
    variables().clear();
    put(u"TEMP", u"C:\\Temp");
    put(u"TMP", u"C:\\Temp");
    put(u"SystemRoot", u"C:\\Windows");
    put(u"windir", u"C:\\Windows");
    put(u"USERPROFILE", u"C:\\Users\\user");
    put(u"APPDATA", u"C:\\Users\\user\\AppData\\Roaming");
    put(u"ProgramFiles", u"C:\\Program Files");
    put(u"USERNAME", u"user");
}

}  // namespace win::sim::detail

namespace win::sim {
void envSet(const std::string& name, const std::string& value) {
    detail::put(detail::widen(name.c_str()), detail::widen(value.c_str()));
}
}  // namespace win::sim

namespace win::env {

using namespace win::sim::detail;

Dword getVariable(const char* name, char* buffer, Dword size) {
    return getImpl(widen(name), buffer, size);
}
Dword getVariable(const char16_t* name, char16_t* buffer, Dword size) {
    return getImpl(fromUtf16(name), buffer, size);
}

bool setVariable(const char* name, const char* value) {
    return setVariable(widen(name).c_str(), value ? widen(value).c_str() : nullptr);
}

bool setVariable(const char16_t* name, const char16_t* value) {
    std::u16string key = fromUtf16(name);
    if (key.empty() || key.find(u'=', 1) != std::u16string::npos) {
        setLastError(err::invalidParameter);
        return false;
    }
    if (value)
        put(key, fromUtf16(value));
    else
        variables().erase(folded(key));
    return true;
}

Dword expandStrings(const char* source, char* buffer, Dword size) {
    return expandImpl(widen(source), buffer, size);
}
Dword expandStrings(const char16_t* source, char16_t* buffer, Dword size) {
    return expandImpl(fromUtf16(source), buffer, size);
}

}  // namespace win::env
