// Reading scenarios from JSON.
#include "scenario.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "win/environment.h"

namespace printside {
namespace {

using nlohmann::json;

bool readFile(const std::string& path, std::string* content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *content = buffer.str();
    return true;
}

std::string fromHex(const std::string& hex, bool* ok) {
    std::string out;
    std::string digits;
    for (char c : hex)
        if (!std::isspace(static_cast<unsigned char>(c))) digits.push_back(c);
    *ok = digits.size() % 2 == 0;
    for (std::size_t i = 0; *ok && i < digits.size(); i += 2) {
        auto nibble = [&](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            *ok = false;
            return 0;
        };
        out.push_back(char(nibble(digits[i]) * 16 + nibble(digits[i + 1])));
    }
    return out;
}

// A whole number of type T; a fraction or a value out of its range is an error in the scenario.
template <typename T>
T wholeNumber(const json& v, const char* what) {
    if (v.is_number_unsigned()) {
        std::uint64_t n = v.get<std::uint64_t>();
        if (std::cmp_less_equal(n, std::numeric_limits<T>::max())) return T(n);
    } else if (v.is_number_integer()) {
        std::int64_t n = v.get<std::int64_t>();
        if (std::in_range<T>(n)) return T(n);
    }
    throw std::out_of_range(std::string(what) + ": a whole number in range expected");
}

template <typename T>
T wholeNumberOr(const json& object, const char* key, T fallback) {
    return object.contains(key) ? wholeNumber<T>(object[key], key) : fallback;
}

// Zero-filled values and page records are made in memory; more than this is no scenario's.
constexpr std::size_t kMaxGeneratedBytes = std::size_t(16) << 20;

// A JSON value as a registry value: strings are REG_SZ, numbers REG_DWORD, and objects
// say what they are ({"binary": "hex"}, {"size": n} for n zero bytes, {"string": s,
// "terminated": false}).
bool toValue(const std::string& name, const json& v, RegistryValue* out, std::string* error) {
    out->name = name;
    if (v.is_string()) {
        out->kind = RegistryValue::Kind::string;
        out->bytes = v.get<std::string>();
        return true;
    }
    if (v.is_number_integer()) {
        out->kind = RegistryValue::Kind::dword;
        out->number = v.is_number_unsigned() ? std::uint32_t(v.get<std::uint64_t>())
                                             : std::uint32_t(v.get<std::int64_t>());
        return true;
    }
    if (v.is_object() && v.contains("string")) {
        out->kind = RegistryValue::Kind::string;
        out->bytes = v["string"].get<std::string>();
        out->terminated = v.value("terminated", true);
        return true;
    }
    if (v.is_object() && v.contains("binary")) {
        bool ok = false;
        out->kind = RegistryValue::Kind::binary;
        out->bytes = fromHex(v["binary"].get<std::string>(), &ok);
        if (!ok) *error = "value \"" + name + "\": bad hex";
        return ok;
    }
    if (v.is_object() && v.contains("size")) {
        out->kind = RegistryValue::Kind::binary;
        std::size_t size = wholeNumber<std::size_t>(v["size"], "size");
        if (size > kMaxGeneratedBytes) throw std::out_of_range("size: too large");
        out->bytes.assign(size, '\0');
        return true;
    }
    *error = "value \"" + name + "\": a string, a number or {binary|size|string} expected";
    return false;
}

bool readValues(const json& object, const std::vector<std::string>& skip,
                std::vector<RegistryValue>* values, std::string* error) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (std::find(skip.begin(), skip.end(), it.key()) != skip.end()) continue;
        RegistryValue value;
        if (!toValue(it.key(), it.value(), &value, error)) return false;
        values->push_back(std::move(value));
    }
    // The printing side stores "Ready" last, so readers never see half a key.
    std::stable_partition(values->begin(), values->end(),
                          [](const RegistryValue& v) { return v.name != "Ready"; });
    return true;
}

bool readContent(const json& object, const std::string& baseFolder, std::string* content,
                 std::string* error) {
    if (object.contains("content")) {
        *content = object["content"].get<std::string>();
        return true;
    }
    if (object.contains("source")) {
        std::string path = object["source"].get<std::string>();
        if (!path.empty() && path[0] != '/' && !baseFolder.empty()) path = baseFolder + "/" + path;
        if (!readFile(path, content)) {
            *error = "cannot read " + path;
            return false;
        }
    }
    return true;
}

bool readStep(const json& s, const std::string& baseFolder, Step* step, std::string* error) {
    step->atMs = wholeNumberOr<std::uint64_t>(s, "at", 0);
    step->beforeStart = s.value("beforeStart", false);
    step->label = s.value("label", std::string());
    if (s.contains("job")) {
        step->target = Step::Target::jobKey;
        return readValues(s["job"], {}, &step->values, error);
    }
    if (s.contains("forwarding")) {
        step->target = Step::Target::forwardingKey;
        return readValues(s["forwarding"], {}, &step->values, error);
    }
    if (s.contains("page")) {
        const json& p = s["page"];
        step->target = Step::Target::page;
        step->page = wholeNumberOr<std::uint32_t>(p, "number", 1);
        step->path = p.value("file", std::string());
        if (!readContent(p, baseFolder, &step->fileContent, error)) return false;
        // What the driver writes for a page, unless the scenario says otherwise.
        json values = json::object();
        if (!step->path.empty()) values["Forwarding"] = step->path;
        values["Size"] = step->fileContent.size();
        std::size_t devModeSize = wholeNumberOr<std::uint32_t>(p, "devModeSize", 6879);
        values["DevModeSize"] = devModeSize;
        values["DevMode"] = json{{"size", devModeSize}};
        if (p.contains("devMode")) values["DevMode"] = p["devMode"];
        values["Ready"] = "YES";
        const json overrides = p.value("values", json::object());
        for (auto& [name, value] : overrides.items()) values[name] = value;
        for (const std::string& name : p.value("omit", std::vector<std::string>()))
            values.erase(name);
        return readValues(values, {}, &step->values, error);
    }
    if (s.contains("redirectSettings")) {
        const json& r = s["redirectSettings"];
        step->target = Step::Target::redirectSettings;
        step->path = r.value("path", std::string());
        if (r.contains("printers")) step->printers = r["printers"].get<std::vector<std::string>>();
        return readValues(r, {"path", "printers"}, &step->values, error);
    }
    if (s.contains("key")) {
        const json& k = s["key"];
        step->target = Step::Target::key;
        step->path = k.value("path", std::string());
        step->deleteKey = k.value("deleteKey", false);
        if (k.contains("delete")) step->deleteValues = k["delete"].get<std::vector<std::string>>();
        return readValues(k.value("values", json::object()), {}, &step->values, error);
    }
    if (s.contains("file")) {
        const json& f = s["file"];
        step->target = Step::Target::file;
        step->path = f.value("path", std::string());
        return readContent(f, baseFolder, &step->fileContent, error);
    }
    if (s.contains("createEvent")) {
        const json& e = s["createEvent"];
        step->target = Step::Target::createEvent;
        step->eventName = e.at("name").get<std::string>();
        step->manualReset = e.value("manualReset", true);
        step->initiallySet = e.value("set", false);
        return true;
    }
    if (s.contains("waitEvent")) {
        const json& e = s["waitEvent"];
        step->target = Step::Target::waitEvent;
        step->eventName = e.at("name").get<std::string>();
        step->timeoutMs = wholeNumberOr<std::uint32_t>(e, "timeoutMs", 30000);
        return true;
    }
    *error =
        "a step needs one of job, forwarding, page, redirectSettings, key, file, createEvent, "
        "waitEvent";
    return false;
}

// %NAME% in paths and string values is taken from the environment, so that one scenario
// names the same folders on the simulated machine and on a real one.
std::string expanded(const std::string& text) {
    if (text.find('%') == std::string::npos) return text;
    std::string out(win::env::expandStrings(text.c_str(), nullptr, 0), '\0');
    win::Dword length = win::env::expandStrings(text.c_str(), out.data(), win::Dword(out.size()));
    if (length == 0 || length > out.size()) return text;
    out.resize(length - 1);
    return out;
}

void expandEnvironment(Step* step) {
    step->path = expanded(step->path);
    for (RegistryValue& value : step->values)
        if (value.kind == RegistryValue::Kind::string) value.bytes = expanded(value.bytes);
}

}  // namespace

std::optional<Scenario> parseScenario(const std::string& text, const std::string& baseFolder,
                                      std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    try {
        json root = json::parse(text);
        Scenario scenario;
        scenario.name = root.value("name", std::string());
        scenario.printerKeyName = root.at("printer").get<std::string>();
        scenario.jobNumber = wholeNumber<std::int32_t>(root.at("job"), "job");
        scenario.commandLine = root.value(
            "commandLine", std::to_string(scenario.jobNumber) + "," + scenario.printerKeyName);
        for (const json& s : root.value("steps", json::array())) {
            Step step;
            if (!readStep(s, baseFolder, &step, error)) return std::nullopt;
            expandEnvironment(&step);
            scenario.steps.push_back(std::move(step));
        }
        std::stable_sort(
            scenario.steps.begin(), scenario.steps.end(), [](const Step& a, const Step& b) {
                return std::pair(!a.beforeStart, a.atMs) < std::pair(!b.beforeStart, b.atMs);
            });
        return scenario;
    } catch (const std::exception& e) {
        *error = e.what();
        return std::nullopt;
    }
}

std::optional<Scenario> loadScenario(const std::string& path, std::string* error) {
    std::string text;
    if (!readFile(path, &text)) {
        if (error) *error = "cannot read " + path;
        return std::nullopt;
    }
    std::size_t slash = path.find_last_of("/\\");
    return parseScenario(text, slash == std::string::npos ? "." : path.substr(0, slash), error);
}

std::string keyPathOf(const Scenario& scenario, const Step& step) {
    std::string printer = std::string(kVendorKey) + "\\" + scenario.printerKeyName;
    std::string job = std::to_string(scenario.jobNumber);
    switch (step.target) {
        case Step::Target::jobKey:
            return printer + "\\" + job;
        case Step::Target::forwardingKey:
            return printer + "\\Forwarding\\" + job + "_0";
        case Step::Target::page:
            return printer + "\\Forwarding\\" + job + "_" + std::to_string(step.page);
        case Step::Target::redirectSettings:
        case Step::Target::key:
            return std::string(kVendorKey) + "\\" + step.path;
        case Step::Target::file:
        case Step::Target::createEvent:
        case Step::Target::waitEvent:
            return {};
    }
    return {};
}

}  // namespace printside
