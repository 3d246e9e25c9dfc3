// printside: plays the printer driver and its port monitor for one job.
//   printside <scenario.json>            on the simulated machine (host) or against the real
//                                        registry, starting jobhost.exe (Windows)
//   printside --report <scenario.json>   only reports what the job left
#include <cstring>
#include <iostream>
#include <string>

#include "report.h"
#include "scenario.h"
#ifdef JH_SIM
#include "sim_runner.h"
#else
#include "win_runner.h"
#endif

namespace {

int usage() {
    std::cerr << "usage: printside [--report] <scenario.json>"
#ifndef JH_SIM
                 " [--jobhost <path of jobhost.exe>]"
#endif
                 "\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool reportOnly = false;
    std::string scenarioPath;
    std::string jobhostPath = "jobhost.exe";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--report")
            reportOnly = true;
        else if (arg == "--demo")
            continue;  // the default on the simulated machine
        else if (arg == "--jobhost" && i + 1 < argc)
            jobhostPath = argv[++i];
        else if (!arg.empty() && arg[0] == '-')
            return usage();
        else
            scenarioPath = arg;
    }
    if (scenarioPath.empty()) return usage();
    std::string error;
    std::optional<printside::Scenario> scenario = printside::loadScenario(scenarioPath, &error);
    if (!scenario) {
        std::cerr << "printside: " << scenarioPath << ": " << error << "\n";
        return 2;
    }
    if (reportOnly) {
        std::cout << printside::formatReport(printside::takeReport(*scenario));
        return 0;
    }
#ifdef JH_SIM
    if (!scenario->name.empty()) std::cout << scenario->name << "\n\n";
    printside::runOnSimulatedMachine(*scenario, std::cout);
    return 0;
#else
    return printside::runOnWindows(*scenario, jobhostPath, std::cout);
#endif
}
