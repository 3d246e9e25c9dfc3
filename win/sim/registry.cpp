// The simulated registry: case-insensitive keys and values, access rights per handle, the
// 32-bit view of HKEY_LOCAL_MACHINE\SOFTWARE under Wow6432Node, strings stored as UTF-16 and
// converted for the 8-bit calls.
#include "win/registry.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "state.h"
#include "win/sim/machine.h"

namespace win::reg {
namespace {

using namespace win::sim::detail;

std::shared_ptr<RegNode> makeNode(const std::u16string& name, RegNode* parent) {
    auto node = std::make_shared<RegNode>();
    node->name = name;
    node->parent = parent;
    return node;
}

std::u16string toWide(const char* text) {
    return widen(text);
}
std::u16string toWide(const char16_t* text) {
    return fromUtf16(text);
}

// Value bytes as the 8-bit calls see them: UTF-16 strings become one byte a unit.
std::string dataFor(const RegValueEntry& value, bool ansi) {
    if (!ansi || !isStringType(value.type)) return value.data;
    std::string out;
    const std::string& d = value.data;
    for (std::size_t i = 0; i + 1 < d.size(); i += 2) {
        char16_t unit = char16_t(static_cast<unsigned char>(d[i]) |
                                 (static_cast<unsigned char>(d[i + 1]) << 8));
        out.push_back(unit < 0x100 ? char(unit) : '?');
    }
    if (d.size() % 2) out.push_back(d.back());
    return out;
}

std::string storedFrom(Dword type, const void* data, Dword size, bool ansi) {
    const char* bytes = static_cast<const char*>(data);
    if (!bytes || size == 0) return {};
    if (!ansi || !isStringType(type)) return std::string(bytes, size);
    std::string out;
    out.reserve(std::size_t(size) * 2);
    for (Dword i = 0; i < size; ++i) {
        out.push_back(bytes[i]);
        out.push_back('\0');
    }
    return out;
}

struct Resolved {
    Long error = err::success;
    std::shared_ptr<RegNode> node;
    Dword access = 0;
};

Resolved resolveHandle(Key key) {
    Registry& r = machine().registry;
    Dword full = access::allAccess;
    switch (std::uintptr_t(key)) {
        case std::uintptr_t(currentUser):
            return {err::success, r.currentUser, full};
        case std::uintptr_t(localMachine):
            return {err::success, r.localMachine, full};
        case std::uintptr_t(users):
            return {err::success, r.users, full};
        case std::uintptr_t(classesRoot):
            return {err::success, r.classesRoot, full};
        default:
            break;
    }
    HandleEntry* entry = machine().findHandle(std::uintptr_t(key), HandleKind::key);
    if (!entry) return {err::invalidHandle, nullptr, 0};
    if (entry->key->node->deleted) return {err::keyDeleted, nullptr, 0};
    return {err::success, entry->key->node, entry->key->access};
}

Long splitPath(const std::u16string& path, std::vector<std::u16string>* parts) {
    if (!path.empty() && path[0] == u'\\') return err::badPathname;
    std::u16string part;
    for (char16_t c : path) {
        if (c == u'\\') {
            if (!part.empty()) parts->push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts->push_back(part);
    for (const auto& p : *parts)
        if (p.size() > 255) return err::invalidParameter;
    return err::success;
}

int effectiveView(Dword accessOrView) {
    if (accessOrView & access::wow64_32) return 32;
    if (accessOrView & access::wow64_64) return 64;
    return machine().registry.processBits;
}

void redirectForView(const RegNode& start, int view, std::vector<std::u16string>* parts) {
    if (view != 32 || !start.isLocalMachineRoot || parts->empty()) return;
    if (folded((*parts)[0]) != u"SOFTWARE") return;
    // Keys that both views share.
    if (parts->size() >= 2 &&
        (folded((*parts)[1]) == u"WOW6432NODE" || folded((*parts)[1]) == u"CLIENTS"))
        return;
    parts->insert(parts->begin() + 1, u"Wow6432Node");
}

// Walks from start along parts, creating what is missing when create is set.
std::shared_ptr<RegNode> walk(std::shared_ptr<RegNode> node,
                              const std::vector<std::u16string>& parts, bool create,
                              bool* created) {
    for (const std::u16string& part : parts) {
        auto it = node->children.find(folded(part));
        if (it == node->children.end()) {
            if (!create) return nullptr;
            auto child = makeNode(part, node.get());
            node->children.emplace(folded(part), child);
            if (created) *created = true;
            node = child;
        } else {
            node = it->second;
        }
    }
    return node;
}

template <typename Char>
Long openOrCreate(Key parent, const Char* subKey, Dword desired, Key* result, bool create,
                  Dword* disposition) {
    if (!result) return err::invalidParameter;
    const char* call = create ? "RegCreateKeyEx" : "RegOpenKeyEx";
    if (Dword fault = win::sim::takeFault(call)) return Long(fault);
    Resolved start = resolveHandle(parent);
    if (start.error) return start.error;
    std::vector<std::u16string> parts;
    if (Long e = splitPath(toWide(subKey), &parts)) return e;
    if (create && !parts.empty() && !(start.access & access::createSubKey) &&
        !walk(start.node, parts, false, nullptr))
        return err::accessDenied;
    redirectForView(*start.node, effectiveView(desired), &parts);
    bool created = false;
    std::shared_ptr<RegNode> node = walk(start.node, parts, create, &created);
    if (!node) return err::fileNotFound;
    auto state = std::make_shared<OpenKeyState>();
    state->node = node;
    state->access = desired & ~(access::wow64_32 | access::wow64_64);
    *result = Key(machine().addHandle({HandleKind::key, state, nullptr}));
    if (disposition) *disposition = created ? createdNewKey : openedExistingKey;
    return err::success;
}

template <typename Char>
Long queryImpl(Key key, const Char* name, Dword* type, void* data, Dword* size, bool ansi) {
    if (Dword fault = win::sim::takeFault("RegQueryValueEx")) return Long(fault);
    Resolved r = resolveHandle(key);
    if (r.error) return r.error;
    if (!(r.access & access::queryValue)) return err::accessDenied;
    if (data && !size) return err::invalidParameter;
    RegValueEntry* value = r.node->findValue(toWide(name));
    if (!value) return err::fileNotFound;
    std::string bytes = dataFor(*value, ansi);
    if (type) *type = value->type;
    if (!size) return err::success;
    Dword needed = Dword(bytes.size());
    if (data && *size < needed) {
        *size = needed;
        return err::moreData;
    }
    if (data && needed) std::memcpy(data, bytes.data(), needed);
    // As the platform: a string stored without its terminator gets one in the field when
    // there is room, not counted in the size.
    std::size_t unit = ansi ? 1 : 2;
    if (data && isStringType(value->type) && needed >= unit && *size >= needed + unit) {
        bool terminated = true;
        for (std::size_t i = needed - unit; i < needed; ++i)
            terminated = terminated && bytes[i] == 0;
        if (!terminated) std::memset(static_cast<char*>(data) + needed, 0, unit);
    }
    *size = needed;
    return err::success;
}

template <typename Char>
Long setImpl(Key key, const Char* name, Dword type, const void* data, Dword size, bool ansi) {
    if (Dword fault = win::sim::takeFault("RegSetValueEx")) return Long(fault);
    Resolved r = resolveHandle(key);
    if (r.error) return r.error;
    if (!(r.access & access::setValue)) return err::accessDenied;
    if (!data && size) return err::noAccess;
    // As the platform: a string whose counted text is not terminated but is followed by a
    // terminator is stored with it. Like the platform, this looks one character past the size.
    std::size_t unit = ansi ? 1 : 2;
    if (data && isStringType(type) && size >= unit && size % unit == 0) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        auto isZero = [&](std::size_t at) {
            for (std::size_t i = 0; i < unit; ++i)
                if (bytes[at + i] != 0) return false;
            return true;
        };
        // Only a text that does not end in a terminator is looked past.
        if (!isZero(size - unit) && isZero(size)) size += Dword(unit);
    }
    std::u16string valueName = toWide(name);
    RegValueEntry* value = r.node->findValue(valueName);
    if (!value) {
        r.node->values.push_back({valueName, 0, {}});
        value = &r.node->values.back();
    }
    value->type = type;
    value->data = storedFrom(type, data, size, ansi);
    return err::success;
}

template <typename Char>
Long deleteValueImpl(Key key, const Char* name) {
    if (Dword fault = win::sim::takeFault("RegDeleteValue")) return Long(fault);
    Resolved r = resolveHandle(key);
    if (r.error) return r.error;
    if (!(r.access & access::setValue)) return err::accessDenied;
    std::u16string wanted = folded(toWide(name));
    auto& values = r.node->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (folded(it->name) == wanted) {
            values.erase(it);
            return err::success;
        }
    }
    return err::fileNotFound;
}

template <typename Char>
Long deleteKeyImpl(Key parent, const Char* subKey, Dword view) {
    if (!subKey) return err::invalidParameter;
    if (Dword fault = win::sim::takeFault("RegDeleteKeyEx")) return Long(fault);
    Resolved start = resolveHandle(parent);
    if (start.error) return start.error;
    std::vector<std::u16string> parts;
    if (Long e = splitPath(toWide(subKey), &parts)) return e;
    redirectForView(*start.node, effectiveView(view), &parts);
    std::shared_ptr<RegNode> node = walk(start.node, parts, false, nullptr);
    if (!node) return err::fileNotFound;
    if (!node->parent || !node->children.empty()) return err::accessDenied;
    node->deleted = true;
    node->parent->children.erase(folded(node->name));
    return err::success;
}

template <typename Char>
Long enumKeyImpl(Key key, Dword index, Char* name, Dword* nameChars) {
    if (!name || !nameChars) return err::invalidParameter;
    if (Dword fault = win::sim::takeFault("RegEnumKeyEx")) return Long(fault);
    Resolved r = resolveHandle(key);
    if (r.error) return r.error;
    if (!(r.access & access::enumerateSubKeys)) return err::accessDenied;
    if (index >= r.node->children.size()) return err::noMoreItems;
    auto it = r.node->children.begin();
    std::advance(it, index);
    const std::u16string& childName = it->second->name;
    if (childName.size() + 1 > *nameChars) return err::moreData;
    copyText(childName, name);
    *nameChars = Dword(childName.size());
    return err::success;
}

template <typename Char>
Long enumValueImpl(Key key, Dword index, Char* name, Dword* nameChars, Dword* type, void* data,
                   Dword* dataSize, bool ansi) {
    if (!name || !nameChars) return err::invalidParameter;
    if (data && !dataSize) return err::invalidParameter;
    if (Dword fault = win::sim::takeFault("RegEnumValue")) return Long(fault);
    Resolved r = resolveHandle(key);
    if (r.error) return r.error;
    if (!(r.access & access::queryValue)) return err::accessDenied;
    if (index >= r.node->values.size()) return err::noMoreItems;
    const RegValueEntry& value = r.node->values[index];
    if (value.name.size() + 1 > *nameChars) return err::moreData;
    std::string bytes = dataFor(value, ansi);
    if (data && *dataSize < bytes.size()) {
        *dataSize = Dword(bytes.size());
        return err::moreData;
    }
    copyText(value.name, name);
    *nameChars = Dword(value.name.size());
    if (type) *type = value.type;
    if (data && !bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    if (dataSize) *dataSize = Dword(bytes.size());
    return err::success;
}

}  // namespace

Long openKey(Key parent, const char* subKey, Dword access, Key* result) {
    return openOrCreate(parent, subKey, access, result, false, nullptr);
}
Long openKey(Key parent, const char16_t* subKey, Dword access, Key* result) {
    return openOrCreate(parent, subKey, access, result, false, nullptr);
}
Long createKey(Key parent, const char* subKey, Dword access, Key* result, Dword* disposition) {
    if (!subKey) return err::invalidParameter;
    return openOrCreate(parent, subKey, access, result, true, disposition);
}
Long createKey(Key parent, const char16_t* subKey, Dword access, Key* result, Dword* disposition) {
    if (!subKey) return err::invalidParameter;
    return openOrCreate(parent, subKey, access, result, true, disposition);
}

Long closeKey(Key key) {
    switch (std::uintptr_t(key)) {
        case std::uintptr_t(currentUser):
        case std::uintptr_t(localMachine):
        case std::uintptr_t(users):
        case std::uintptr_t(classesRoot):
            return err::success;
        default:
            break;
    }
    if (!machine().findHandle(std::uintptr_t(key), HandleKind::key)) return err::invalidHandle;
    machine().handles.erase(std::uintptr_t(key));
    return err::success;
}

Long queryValue(Key key, const char* name, Dword* type, void* data, Dword* size) {
    return queryImpl(key, name, type, data, size, true);
}
Long queryValue(Key key, const char16_t* name, Dword* type, void* data, Dword* size) {
    return queryImpl(key, name, type, data, size, false);
}
Long setValue(Key key, const char* name, Dword type, const void* data, Dword size) {
    return setImpl(key, name, type, data, size, true);
}
Long setValue(Key key, const char16_t* name, Dword type, const void* data, Dword size) {
    return setImpl(key, name, type, data, size, false);
}
Long deleteValue(Key key, const char* name) {
    return deleteValueImpl(key, name);
}
Long deleteValue(Key key, const char16_t* name) {
    return deleteValueImpl(key, name);
}
Long deleteKey(Key parent, const char* subKey, Dword view) {
    return deleteKeyImpl(parent, subKey, view);
}
Long deleteKey(Key parent, const char16_t* subKey, Dword view) {
    return deleteKeyImpl(parent, subKey, view);
}
Long enumKey(Key key, Dword index, char* name, Dword* nameChars) {
    return enumKeyImpl(key, index, name, nameChars);
}
Long enumKey(Key key, Dword index, char16_t* name, Dword* nameChars) {
    return enumKeyImpl(key, index, name, nameChars);
}
Long enumValue(Key key, Dword index, char* name, Dword* nameChars, Dword* type, void* data,
               Dword* dataSize) {
    return enumValueImpl(key, index, name, nameChars, type, data, dataSize, true);
}
Long enumValue(Key key, Dword index, char16_t* name, Dword* nameChars, Dword* type, void* data,
               Dword* dataSize) {
    return enumValueImpl(key, index, name, nameChars, type, data, dataSize, false);
}

Long queryInfoKey(Key key, KeyInfo* info) {
    if (!info) return err::invalidParameter;
    if (Dword fault = win::sim::takeFault("RegQueryInfoKey")) return Long(fault);
    Resolved r = resolveHandle(key);
    if (r.error) return r.error;
    if (!(r.access & access::queryValue)) return err::accessDenied;
    KeyInfo out;
    out.subKeys = Dword(r.node->children.size());
    for (auto& [folded, child] : r.node->children)
        out.maxSubKeyLength = std::max(out.maxSubKeyLength, Dword(child->name.size()));
    out.values = Dword(r.node->values.size());
    for (const RegValueEntry& value : r.node->values) {
        out.maxValueNameLength = std::max(out.maxValueNameLength, Dword(value.name.size()));
        out.maxValueSize = std::max(out.maxValueSize, Dword(value.data.size()));
    }
    *info = out;
    return err::success;
}

}  // namespace win::reg

// ---- control API ----------------------------------------------------------------------------
namespace win::sim {

using namespace detail;

namespace detail {
void resetRegistry(Registry& r) {
    r.currentUser = std::make_shared<RegNode>();
    r.currentUser->name = u"HKEY_CURRENT_USER";
    r.localMachine = std::make_shared<RegNode>();
    r.localMachine->name = u"HKEY_LOCAL_MACHINE";
    r.localMachine->isLocalMachineRoot = true;
    r.users = std::make_shared<RegNode>();
    r.users->name = u"HKEY_USERS";
    r.classesRoot = std::make_shared<RegNode>();
    r.classesRoot->name = u"HKEY_CLASSES_ROOT";
    r.processBits = 32;
    for (const char16_t* path : {u"SOFTWARE", u"SOFTWARE\\Wow6432Node", u"SYSTEM"}) {
        std::vector<std::u16string> parts;
        reg::splitPath(path, &parts);
        reg::walk(r.localMachine, parts, true, nullptr);
    }
    std::vector<std::u16string> software{u"Software"};
    reg::walk(r.currentUser, software, true, nullptr);
}
}  // namespace detail

namespace {

std::shared_ptr<RegNode> rootNode(reg::Key root) {
    Registry& r = machine().registry;
    switch (std::uintptr_t(root)) {
        case std::uintptr_t(reg::currentUser):
            return r.currentUser;
        case std::uintptr_t(reg::localMachine):
            return r.localMachine;
        case std::uintptr_t(reg::users):
            return r.users;
        case std::uintptr_t(reg::classesRoot):
            return r.classesRoot;
        default:
            return nullptr;
    }
}

std::shared_ptr<RegNode> nodeAt(reg::Key root, const std::string& path, bool create) {
    std::shared_ptr<RegNode> start = rootNode(root);
    if (!start) return nullptr;
    std::vector<std::u16string> parts;
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed[0] == '\\') trimmed.erase(0, 1);
    if (reg::splitPath(widen(trimmed.c_str()), &parts)) return nullptr;
    return reg::walk(start, parts, create, nullptr);
}

void markDeleted(RegNode& node) {
    node.deleted = true;
    for (auto& [name, child] : node.children) markDeleted(*child);
}

}  // namespace

void regCreateKey(reg::Key root, const std::string& path) {
    nodeAt(root, path, true);
}

void regSetRaw(reg::Key root, const std::string& path, const std::string& name, Dword type,
               const std::string& bytes) {
    std::shared_ptr<RegNode> node = nodeAt(root, path, true);
    if (!node) return;
    std::u16string valueName = widen(name.c_str());
    RegValueEntry* value = node->findValue(valueName);
    if (!value) {
        node->values.push_back({valueName, 0, {}});
        value = &node->values.back();
    }
    value->type = type;
    value->data = bytes;
}

void regSetString(reg::Key root, const std::string& path, const std::string& name,
                  const std::string& value, bool terminated) {
    std::string text = value;
    if (terminated) text.push_back('\0');
    regSetRaw(root, path, name, reg::type::sz,
              reg::storedFrom(reg::type::sz, text.data(), Dword(text.size()), true));
}

void regSetDword(reg::Key root, const std::string& path, const std::string& name, Dword value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = char((value >> (8 * i)) & 0xFF);
    regSetRaw(root, path, name, reg::type::dword, bytes);
}

void regSetBinary(reg::Key root, const std::string& path, const std::string& name,
                  const std::string& bytes) {
    regSetRaw(root, path, name, reg::type::binary, bytes);
}

void regDeleteValue(reg::Key root, const std::string& path, const std::string& name) {
    std::shared_ptr<RegNode> node = nodeAt(root, path, false);
    if (!node) return;
    std::u16string wanted = folded(widen(name.c_str()));
    std::erase_if(node->values, [&](const RegValueEntry& v) { return folded(v.name) == wanted; });
}

void regDeleteTree(reg::Key root, const std::string& path) {
    std::shared_ptr<RegNode> node = nodeAt(root, path, false);
    if (!node || !node->parent) return;
    markDeleted(*node);
    node->parent->children.erase(folded(node->name));
}

bool regKeyExists(reg::Key root, const std::string& path) {
    return nodeAt(root, path, false) != nullptr;
}

std::optional<RegValue> regValue(reg::Key root, const std::string& path, const std::string& name) {
    std::shared_ptr<RegNode> node = nodeAt(root, path, false);
    if (!node) return std::nullopt;
    RegValueEntry* value = node->findValue(widen(name.c_str()));
    if (!value) return std::nullopt;
    return RegValue{value->type, value->data};
}

std::optional<std::string> regString(reg::Key root, const std::string& path,
                                     const std::string& name) {
    std::shared_ptr<RegNode> node = nodeAt(root, path, false);
    if (!node) return std::nullopt;
    RegValueEntry* value = node->findValue(widen(name.c_str()));
    if (!value) return std::nullopt;
    std::string text = reg::dataFor(*value, true);
    std::size_t end = text.find('\0');
    return end == std::string::npos ? text : text.substr(0, end);
}

std::optional<Dword> regDword(reg::Key root, const std::string& path, const std::string& name) {
    std::optional<RegValue> value = regValue(root, path, name);
    if (!value || value->data.size() < 4) return std::nullopt;
    Dword out = 0;
    for (int i = 0; i < 4; ++i) out |= Dword(static_cast<unsigned char>(value->data[i])) << (8 * i);
    return out;
}

std::vector<std::string> regSubKeys(reg::Key root, const std::string& path) {
    std::vector<std::string> names;
    if (std::shared_ptr<RegNode> node = nodeAt(root, path, false))
        for (auto& [folded, child] : node->children) names.push_back(narrow(child->name));
    return names;
}

std::vector<std::string> regValueNames(reg::Key root, const std::string& path) {
    std::vector<std::string> names;
    if (std::shared_ptr<RegNode> node = nodeAt(root, path, false))
        for (const RegValueEntry& value : node->values) names.push_back(narrow(value.name));
    return names;
}

void setProcessBits(int bits) {
    machine().registry.processBits = bits == 64 ? 64 : 32;
}

}  // namespace win::sim
