// The in-process runner: printside's steps and an observer are scheduled in virtual time,
// and the job monitor runs on the same simulated machine.
#include "sim_runner.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "jobhost/monitor/job_monitor.h"
#include "report.h"
#include "scenario_writer.h"
#include "win/sim/events.h"
#include "win/sim/machine.h"
#include "win/sim/processes.h"
#include "win/sim/shell_requests.h"

namespace printside {
namespace {

constexpr std::uint64_t kCycleMs = 500;
constexpr std::uint64_t kEventPollMs = 10;

std::string stamp(std::uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%7llu ms", static_cast<unsigned long long>(ms));
    return text;
}

// Prints what changed since the last look: keys and files that came or went, new log lines.
class Observer {
  public:
    Observer(const Scenario& scenario, std::ostream& out) : scenario_(scenario), out_(out) {
        last_ = takeReport(scenario_, &win::sim::fileRead);
    }

    void look(const std::string& when) {
        Report now = takeReport(scenario_, &win::sim::fileRead);
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
        machineActivity(&lines);
        for (const std::string& line : lines) out_ << when << "  " << line << "\n";
        last_ = std::move(now);
    }

  private:
    // Processes started, events set or reset and shell requests since the last look.
    void machineActivity(std::vector<std::string>* lines) {
        // In the order they happened: each event change knows how many starts came before it.
        std::vector<win::sim::ProcessStart> starts = win::sim::processStarts();
        std::vector<win::sim::EventChange> changes = win::sim::eventChanges();
        auto startsUpTo = [&](std::size_t count) {
            for (; starts_ < count && starts_ < starts.size(); ++starts_)
                lines->push_back("process started: " + starts[starts_].commandLine + " (in " +
                                 starts[starts_].startFolder + ", show " +
                                 std::to_string(starts[starts_].showWindow) + ")");
        };
        for (; changes_ < changes.size(); ++changes_) {
            startsUpTo(changes[changes_].processesStarted);
            lines->push_back(
                "event " + changes[changes_].name +
                (changes[changes_].kind == win::sim::EventChange::Kind::set ? " set" : " reset"));
        }
        startsUpTo(starts.size());
        std::vector<win::sim::ShellRequest> requests = win::sim::shellRequests();
        for (std::size_t i = requests_; i < requests.size(); ++i) {
            const win::sim::ShellRequest& r = requests[i];
            lines->push_back("shell: " + r.verb.value_or("(default)") + " " + r.file.value_or("") +
                             (r.parameters ? " " + *r.parameters : std::string()) + " -> " +
                             std::to_string(r.result));
        }
        requests_ = requests.size();
    }

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
    std::size_t starts_ = 0, changes_ = 0, requests_ = 0;
};

}  // namespace

int runOnSimulatedMachine(const Scenario& scenario, std::ostream& out) {
    win::sim::reset();
    out << "Job " << scenario.jobNumber << " on printer key \"" << scenario.printerKeyName
        << "\", command line \"" << scenario.commandLine << "\"\n";
    StepPlayer player;
    auto play = [&scenario, &out, &player](const Step& step, const char* when) {
        std::string what;
        long error = player.play(scenario, step, &what);
        out << stamp(win::sim::nowMs()) << "  printside: " << what << when;
        if (error) out << " (failed: error " << error << ")";
        out << "\n";
    };
    for (const Step& step : scenario.steps)
        if (step.beforeStart) play(step, " before jobhost starts");

    Observer observer(scenario, out);
    // jobhost works at the start of each 500 ms cycle, in no virtual time; what it changed is
    // reported before anything printside writes afterwards.
    auto reportCycleWork = [&observer] {
        std::uint64_t now = win::sim::nowMs();
        if (now == 0) return;
        std::uint64_t lastWork = ((now + kCycleMs - 1) / kCycleMs - 1) * kCycleMs;
        observer.look(stamp(lastWork) + "  jobhost, cycle " +
                      std::to_string(lastWork / kCycleMs + 1) + ":");
    };

    // The steps play one after the other at their times; a wait for an event holds up the
    // steps after it. jobhost runs on this thread, so the wait polls instead of blocking.
    std::size_t next = 0;
    std::uint64_t waitDeadline = 0;
    bool waiting = false;
    std::function<void()> playNext;
    auto scheduleNext = [&] {
        while (next < scenario.steps.size() && scenario.steps[next].beforeStart) ++next;
        if (next >= scenario.steps.size()) return;
        win::sim::at(std::max(scenario.steps[next].atMs, win::sim::nowMs()), playNext);
    };
    playNext = [&] {
        const Step& step = scenario.steps[next];
        reportCycleWork();
        if (step.target == Step::Target::waitEvent) {
            std::uint64_t now = win::sim::nowMs();
            if (!waiting) {
                waiting = true;
                waitDeadline = now + step.timeoutMs;
                out << stamp(now) << "  printside: waits for event " << step.eventName << "\n";
            }
            bool set = win::sim::eventIsSet(step.eventName).value_or(false);
            if (!set && now < waitDeadline) {
                win::sim::at(now + kEventPollMs, playNext);
                return;
            }
            waiting = false;
            out << stamp(now) << "  printside: event " << step.eventName
                << (set ? " is set" : " was not set in time") << "\n";
        } else {
            play(step, "");
            observer.look(stamp(win::sim::nowMs()) + "   ");
        }
        ++next;
        scheduleNext();
    };
    scheduleNext();

    std::function<void()> lookAfterCycle;
    lookAfterCycle = [&] {
        reportCycleWork();
        win::sim::at(win::sim::nowMs() + kCycleMs, lookAfterCycle);
    };
    win::sim::at(kCycleMs, lookAfterCycle);

    int exitCode = RunProductionJobMonitor(scenario.commandLine.c_str());
    reportCycleWork();
    out << stamp(win::sim::nowMs()) << "  jobhost ended with exit code " << exitCode << "\n\n";
    out << formatReport(takeReport(scenario, &win::sim::fileRead));
    return exitCode;
}

}  // namespace printside
