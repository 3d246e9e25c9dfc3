// Shared by the Wine tests: the launch helper program's records, whole files, and key trees.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win/file.h"
#include "win/registry.h"
#include "win/time.h"

namespace wine_support {

// The file's bytes, or none when it cannot be opened for reading.
inline std::optional<std::string> ReadWholeFile(const std::string& path) {
    win::file::UniqueFile file(
        win::file::create(path.c_str(), win::file::access::genericRead, win::file::share::read,
                          win::file::disposition::openExisting, win::file::attributeNormal));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[4096];
    win::Dword got = 0;
    while (win::file::read(file.get(), buffer, sizeof buffer, &got) && got > 0)
        text.append(buffer, got);
    return text;
}

// Deletes a key and everything below it; true when it is gone.
inline bool DeleteTree(win::reg::Key parent, const std::string& path) {
    {
        win::reg::UniqueKey key;
        if (win::reg::openKey(parent, path.c_str(), win::reg::access::read, key.put()) != 0)
            return true;
        std::vector<std::string> children;
        for (win::Dword index = 0;; ++index) {
            char name[256];
            win::Dword chars = sizeof name;
            if (win::reg::enumKey(key.get(), index, name, &chars) != 0) break;
            children.emplace_back(name, chars);
        }
        for (const std::string& child : children) DeleteTree(key.get(), child);
    }
    return win::reg::deleteKey(parent, path.c_str()) == 0;
}

#ifdef JH_LAUNCH_HELPERS
// The helper program's copies, as a path that Windows programs under Wine understand.
inline std::string HelpersFolder() {
    std::string path = std::string("Z:") + JH_LAUNCH_HELPERS;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// What a copy of the helper program wrote about its start: "name=value" lines.
using Record = std::map<std::string, std::string>;

inline std::string RecordPath(const std::string& program) {
    return HelpersFolder() + "\\records\\" + program + ".txt";
}

inline std::optional<Record> ReadRecord(const std::string& program) {
    std::optional<std::string> text = ReadWholeFile(RecordPath(program));
    if (!text) return std::nullopt;
    Record record;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(start, end - start);
        std::size_t equals = line.find('=');
        if (equals != std::string::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    return record;
}

// The shell starts its programs without waiting for them.
inline std::optional<Record> AwaitRecord(const std::string& program) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (auto record = ReadRecord(program)) return record;
        win::time::sleep(100);
    }
    return std::nullopt;
}
#endif

}  // namespace wine_support
