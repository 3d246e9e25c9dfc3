// The Windows runner: the printing side's writes in real time, jobhost as a real process.
#include "win_runner.h"

#include <algorithm>
#include <utility>

#include "report.h"
#include "scenario_writer.h"
#include "win/process.h"
#include "win/time.h"

namespace printside {
namespace {

struct Timed {
    std::uint64_t atMs;
    const Scenario* scenario;
    const Step* step;
};

}  // namespace

std::vector<JobRun> runJobs(const std::vector<Scenario>& scenarios, const std::string& jobhostPath,
                            std::uint64_t timeoutMs, std::ostream* progress) {
    std::vector<JobRun> runs(scenarios.size());
    std::vector<win::process::UniqueProcess> processes(scenarios.size());
    const win::Dword start = win::time::tickCount();
    auto elapsed = [start] { return std::uint64_t(win::Dword(win::time::tickCount() - start)); };

    StepPlayer player;
    auto play = [&](const Scenario& scenario, const Step& step) {
        std::string what;
        long error = player.play(scenario, step, &what);
        if (progress) {
            *progress << elapsed() << " ms  printside: " << what;
            if (error) *progress << " (failed: error " << error << ")";
            *progress << "\n";
        }
    };
    for (const Scenario& scenario : scenarios)
        for (const Step& step : scenario.steps)
            if (step.beforeStart) play(scenario, step);

    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        // The printing side passes the program, a blank and "<job>,<printer key name>" unquoted.
        std::string commandLine = "\"" + jobhostPath + "\" " + scenarios[i].commandLine;
        win::process::StartupInfo startup;
        runs[i].started = win::process::create(commandLine.c_str(), false, 0, nullptr, startup,
                                               processes[i].put());
        if (!runs[i].started) runs[i].startError = win::getLastError();
    }

    std::vector<Timed> steps;
    for (const Scenario& scenario : scenarios)
        for (const Step& step : scenario.steps)
            if (!step.beforeStart) steps.push_back({step.atMs, &scenario, &step});
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Timed& a, const Timed& b) { return a.atMs < b.atMs; });
    for (const Timed& timed : steps) {
        std::uint64_t now = elapsed();
        if (timed.atMs > now) win::time::sleep(win::Dword(timed.atMs - now));
        play(*timed.scenario, *timed.step);
    }

    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        if (!runs[i].started) continue;
        std::uint64_t now = elapsed();
        win::Dword left = win::Dword(timeoutMs > now ? timeoutMs - now : 0);
        win::process::Handle process = processes[i].get().process;
        runs[i].ended = win::process::waitForExit(process, left) == win::process::wait::signaled;
        if (!runs[i].ended) {
            win::process::terminate(process, 1);
            win::process::waitForExit(process, 5000);
        }
        runs[i].elapsedMs = elapsed();
        win::process::exitCode(process, &runs[i].exitCode);
    }
    return runs;
}

int runOnWindows(const Scenario& scenario, const std::string& jobhostPath, std::ostream& out) {
    out << "Job " << scenario.jobNumber << " on printer key \"" << scenario.printerKeyName
        << "\", command line \"" << scenario.commandLine << "\"\n";
    // The job monitor gives up after 28800 cycles of 500 ms; so does this wait.
    const std::uint64_t fourHours = 4ull * 3600 * 1000 + 60000;
    std::vector<JobRun> runs = runJobs({scenario}, jobhostPath, fourHours, &out);
    const JobRun& run = runs.front();
    if (!run.started) {
        out << "jobhost could not be started: error " << run.startError << "\n";
        return 1;
    }
    out << run.elapsedMs << " ms  jobhost " << (run.ended ? "ended" : "was stopped")
        << " with exit code " << run.exitCode << "\n\n";
    out << formatReport(takeReport(scenario));
    return run.ended ? 0 : 1;
}

}  // namespace printside
