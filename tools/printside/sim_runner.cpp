// The in-process runner: printside's steps and an observer are scheduled in virtual time,
// and the job monitor runs on the same simulated machine.
#include "sim_runner.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "jobhost/monitor/job_monitor.h"
#include "report.h"
#include "scenario_writer.h"
#include "win/sim/machine.h"

namespace printside {
namespace {

constexpr std::uint64_t kCycleMs = 500;

std::string stamp(std::uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%7llu ms", static_cast<unsigned long long>(ms));
    return text;
}

// Prints what changed since the last look: keys and files that came or went, new log lines.
class Observer {
  public:
    Observer(const Scenario& scenario, std::ostream& out) : scenario_(scenario), out_(out) {
        last_ = takeReport(scenario_);
    }

    void look(const std::string& when) {
        Report now = takeReport(scenario_);
        std::vector<std::string> lines;
        diff(last_.keys, now.keys, "key ", &lines);
        diff(last_.files, now.files, "file ", &lines);
        if (now.log.size() > last_.log.size() &&
            now.log.compare(0, last_.log.size(), last_.log) == 0) {
            std::string added = now.log.substr(last_.log.size());
            std::size_t start = 0;
            while (start < added.size()) {
                std::size_t end = added.find("\r\n", start);
                if (end == std::string::npos) end = added.size();
                lines.push_back("log: " + added.substr(start, end - start));
                start = end + 2;
            }
        }
        for (const std::string& line : lines) out_ << when << "  " << line << "\n";
        last_ = std::move(now);
    }

  private:
    static void diff(const std::vector<std::string>& before, const std::vector<std::string>& after,
                     const std::string& kind, std::vector<std::string>* lines) {
        std::set<std::string> was(before.begin(), before.end()), is(after.begin(), after.end());
        for (const std::string& item : before)
            if (!is.count(item)) lines->push_back(kind + item + " gone");
        for (const std::string& item : after)
            if (!was.count(item)) lines->push_back(kind + item + " appeared");
    }

    const Scenario& scenario_;
    std::ostream& out_;
    Report last_;
};

}  // namespace

int runOnSimulatedMachine(const Scenario& scenario, std::ostream& out) {
    win::sim::reset();
    Observer observer(scenario, out);
    std::uint64_t cycle = 0;
    out << "Job " << scenario.jobNumber << " on printer key \"" << scenario.printerKeyName
        << "\", command line \"" << scenario.commandLine << "\"\n";

    for (const Step& step : scenario.steps) {
        win::sim::at(step.atMs, [&scenario, &step, &out, &observer] {
            std::string what;
            long error = applyStep(scenario, step, &what);
            out << stamp(win::sim::nowMs()) << "  printside writes " << what;
            if (error) out << " (failed: error " << error << ")";
            out << "\n";
            observer.look(stamp(win::sim::nowMs()));
        });
    }
    // Each cycle of the job monitor ends with a 500 ms sleep; look at the machine when it ends.
    std::function<void()> lookAfterCycle;
    lookAfterCycle = [&] {
        ++cycle;
        observer.look(stamp(win::sim::nowMs()) + "  cycle " + std::to_string(cycle) + ":");
        win::sim::at(win::sim::nowMs() + kCycleMs, lookAfterCycle);
    };
    win::sim::at(kCycleMs, lookAfterCycle);

    int exitCode = RunProductionJobMonitor(scenario.commandLine.c_str());
    observer.look(stamp(win::sim::nowMs()) + "  end:");
    out << stamp(win::sim::nowMs()) << "  jobhost ended with exit code " << exitCode << "\n\n";
    out << formatReport(takeReport(scenario));
    return exitCode;
}

}  // namespace printside
