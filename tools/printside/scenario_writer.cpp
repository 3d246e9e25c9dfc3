// Writing scenario steps to the registry and the file system.
#include "scenario_writer.h"

#include "win/event.h"
#include "win/file.h"
#include "win/folder.h"
#include "win/registry.h"

namespace printside {
namespace {

long writeValue(win::reg::Key key, const RegistryValue& value) {
    switch (value.kind) {
        case RegistryValue::Kind::dword:
            return win::reg::setValue(key, value.name.c_str(), win::reg::type::dword, &value.number,
                                      sizeof value.number);
        case RegistryValue::Kind::binary:
            return win::reg::setValue(key, value.name.c_str(), win::reg::type::binary,
                                      value.bytes.data(), win::Dword(value.bytes.size()));
        case RegistryValue::Kind::string: {
            if (value.terminated)
                return win::reg::setValue(key, value.name.c_str(), win::reg::type::sz,
                                          value.bytes.c_str(), win::Dword(value.bytes.size() + 1));
            // The registry stores a terminator that follows the counted text; a guard byte
            // keeps it out.
            std::string guarded = value.bytes + "X";
            return win::reg::setValue(key, value.name.c_str(), win::reg::type::sz, guarded.data(),
                                      win::Dword(value.bytes.size()));
        }
    }
    return win::err::invalidParameter;
}

long writeValues(const std::string& path, const std::vector<RegistryValue>& values,
                 const std::vector<std::string>& deletions) {
    win::reg::UniqueKey key;
    long error = win::reg::createKey(win::reg::currentUser, path.c_str(),
                                     win::reg::access::write | win::reg::access::queryValue,
                                     key.put(), nullptr);
    if (error) return error;
    for (const RegistryValue& value : values)
        if (long e = writeValue(key.get(), value)) return e;
    for (const std::string& name : deletions) win::reg::deleteValue(key.get(), name.c_str());
    return 0;
}

// The printing side's folders exist; make the ones a scenario names.
void makeParentFolders(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        win::folder::create(path.substr(0, slash).c_str());
}

long writeFile(const std::string& path, const std::string& content) {
    makeParentFolders(path);
    win::file::UniqueFile file(
        win::file::create(path.c_str(), win::file::access::genericWrite, win::file::share::none,
                          win::file::disposition::createAlways, win::file::attributeNormal));
    if (!file) return long(win::getLastError());
    win::Dword written = 0;
    if (!content.empty() &&
        !win::file::write(file.get(), content.data(), win::Dword(content.size()), &written))
        return long(win::getLastError());
    return 0;
}

std::string readyOf(const Step& step) {
    for (const RegistryValue& value : step.values)
        if (value.name == "Ready" || value.name == "Job Status")
            return " " + value.name + "=" + value.bytes;
    return "";
}

}  // namespace

long StepPlayer::play(const Scenario& scenario, const Step& step, std::string* what) {
    std::string path = keyPathOf(scenario, step);
    std::string description;
    long error = 0;
    switch (step.target) {
        case Step::Target::jobKey:
            description = "job key" + readyOf(step);
            error = writeValues(path, step.values, step.deleteValues);
            break;
        case Step::Target::forwardingKey:
            description = "forwarding key 0" + readyOf(step);
            error = writeValues(path, step.values, step.deleteValues);
            break;
        case Step::Target::page:
            description = "page " + std::to_string(step.page) + readyOf(step);
            if (!step.path.empty()) error = writeFile(step.path, step.fileContent);
            if (!error) error = writeValues(path, step.values, step.deleteValues);
            break;
        case Step::Target::redirectSettings: {
            description =
                "redirect settings, " + std::to_string(step.printers.size()) + " printer(s)";
            std::vector<RegistryValue> values = step.values;
            if (!step.printers.empty()) {
                RegistryValue count{"Printer count",
                                    RegistryValue::Kind::dword,
                                    {},
                                    std::uint32_t(step.printers.size())};
                values.push_back(count);
                for (std::size_t i = 0; i < step.printers.size(); ++i)
                    values.push_back({"Printer " + std::to_string(i + 1),
                                      RegistryValue::Kind::string, step.printers[i]});
            }
            error = writeValues(path, values, step.deleteValues);
            break;
        }
        case Step::Target::key:
            description = "key " + step.path;
            if (step.deleteKey)
                error = win::reg::deleteKey(win::reg::currentUser, path.c_str());
            else
                error = writeValues(path, step.values, step.deleteValues);
            break;
        case Step::Target::file:
            description = "file " + step.path;
            error = writeFile(step.path, step.fileContent);
            break;
        case Step::Target::createEvent: {
            description = "event " + step.eventName + (step.initiallySet ? " (set)" : " (reset)");
            win::event::UniqueEvent event(
                win::event::create(step.manualReset, step.initiallySet, step.eventName.c_str()));
            if (!event) error = long(win::getLastError());
            events_.push_back(std::move(event));
            break;
        }
        case Step::Target::waitEvent: {
            description = "a wait for event " + step.eventName;
            win::event::UniqueEvent event(
                win::event::open(win::event::access::synchronize, false, step.eventName.c_str()));
            if (!event) {
                error = long(win::getLastError());
                break;
            }
            win::Dword waited = win::event::wait(event.get(), win::Dword(step.timeoutMs));
            if (waited == win::event::waitResult::timeout) error = 1460;  // a time-out
            if (waited == win::event::waitResult::failed) error = long(win::getLastError());
            break;
        }
    }
    if (what) *what = step.label.empty() ? description : step.label;
    return error;
}

}  // namespace printside
