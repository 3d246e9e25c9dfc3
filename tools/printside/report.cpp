// Reading back what a job left.
#include "report.h"

#include "win/file.h"
#include "win/registry.h"

namespace printside {
namespace {

void collectKeys(win::reg::Key parent, const std::string& prefix, int depth,
                 std::vector<std::string>* out) {
    if (depth > 16) return;
    for (win::Dword index = 0;; ++index) {
        char name[256];
        win::Dword length = sizeof name;
        if (win::reg::enumKey(parent, index, name, &length) != 0) break;
        std::string child = prefix.empty() ? std::string(name) : prefix + "\\" + name;
        out->push_back(child);
        win::reg::UniqueKey key;
        if (win::reg::openKey(parent, name, win::reg::access::read, key.put()) == 0)
            collectKeys(key.get(), child, depth + 1, out);
    }
}

bool readWholeFile(const std::string& path, std::string* content) {
    win::file::UniqueFile file(win::file::create(path.c_str(), win::file::access::genericRead,
                                                 win::file::share::read | win::file::share::write,
                                                 win::file::disposition::openExisting,
                                                 win::file::attributeNormal));
    if (!file) return false;
    char buffer[4096];
    win::Dword got = 0;
    while (win::file::read(file.get(), buffer, sizeof buffer, &got) && got > 0)
        content->append(buffer, got);
    return true;
}

}  // namespace

Report takeReport(const Scenario& scenario, LogReader readLog) {
    Report report;
    std::string printerPath = std::string(kVendorKey) + "\\" + scenario.printerKeyName;
    win::reg::UniqueKey printerKey;
    if (win::reg::openKey(win::reg::currentUser, printerPath.c_str(), win::reg::access::read,
                          printerKey.put()) == 0)
        collectKeys(printerKey.get(), "", 0, &report.keys);
    for (const Step& step : scenario.steps) {
        if ((step.target == Step::Target::page || step.target == Step::Target::file) &&
            !step.path.empty() &&
            win::file::getAttributes(step.path.c_str()) != win::file::invalidAttributes) {
            bool listed = false;
            for (const std::string& f : report.files) listed = listed || f == step.path;
            if (!listed) report.files.push_back(step.path);
        }
        if (step.target == Step::Target::redirectSettings)
            for (const RegistryValue& value : step.values)
                if (value.name == "Redirect Printing Log File") report.logPath = value.bytes;
    }
    if (report.logPath.empty()) return report;
    if (readLog) {
        std::optional<std::string> log = readLog(report.logPath);
        report.logExists = log.has_value();
        report.log = log.value_or("");
    } else {
        report.logExists = readWholeFile(report.logPath, &report.log);
    }
    return report;
}

std::string formatReport(const Report& report) {
    std::string out = "Keys left below the printer's key:";
    if (report.keys.empty()) out += " none";
    out += "\n";
    for (const std::string& key : report.keys) out += "  " + key + "\n";
    out += "Page and other files left:";
    if (report.files.empty()) out += " none";
    out += "\n";
    for (const std::string& file : report.files) out += "  " + file + "\n";
    if (!report.logPath.empty()) {
        out += "Redirect log " + report.logPath + ":";
        out += report.logExists ? "\n" + report.log : " not written\n";
    }
    return out;
}

}  // namespace printside
