// What a job left behind: the keys below the printer's key, the scenario's files that still
// exist, and the redirect log.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario.h"

namespace printside {

struct Report {
    std::vector<std::string> keys;   // below the printer's key, relative to it
    std::vector<std::string> files;  // files the scenario wrote that still exist
    std::string logPath;             // from the redirect settings, if the scenario names one
    std::string log;                 // its content
    bool logExists = false;
};

// readLog, when given, reads the log in place of the seam's file calls (which cannot open it
// while a jobhost holds it).
using LogReader = std::optional<std::string> (*)(const std::string& path);
Report takeReport(const Scenario& scenario, LogReader readLog = nullptr);
std::string formatReport(const Report& report);

}  // namespace printside
