// jobhost.exe as the printing side starts it: a real process, real registry keys and files,
// the printing side's writes in real time.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "report.h"
#include "scenario.h"
#include "win/environment.h"
#include "win/file.h"
#include "win/registry.h"
#include "win_runner.h"
#include "wine_support.h"

namespace {

using printside::Scenario;

constexpr std::uint64_t kTimeoutMs = 60000;

std::string tempFolder() {
    char buffer[260] = {};
    win::Dword length = win::env::getVariable("TEMP", buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : "C:\\windows\\temp";
}

std::string testName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("jhw_") + info->name();
}

using wine_support::DeleteTree;
using wine_support::ReadWholeFile;

bool fileExists(const std::string& path) {
    return win::file::getAttributes(path.c_str()) != win::file::invalidAttributes;
}

// The log's lines without their time stamps; every line must carry one.
std::vector<std::string> logMessages(const std::string& log) {
    static const std::regex prefix(R"(^\[\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\] )");
    std::vector<std::string> messages;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        if (end == std::string::npos) end = log.size();
        std::string line = log.substr(start, end - start);
        EXPECT_TRUE(std::regex_search(line, prefix)) << line;
        messages.push_back(line.size() >= 22 ? line.substr(22) : line);
        start = end + 2;
    }
    return messages;
}

class JobhostUnderWine : public ::testing::Test {
  protected:
    void SetUp() override {
        printer_ = testName();
        folder_ = tempFolder();
        logPath_ = folder_ + "\\" + printer_ + ".log";
        cleanUp();
    }
    void TearDown() override { cleanUp(); }

    void cleanUp() {
        DeleteTree(win::reg::currentUser, std::string(printside::kVendorKey) + "\\" + printer_);
        win::file::remove(logPath_.c_str());
        for (int page = 1; page <= 3; ++page) win::file::remove(pagePath(17, page).c_str());
    }

    std::string pagePath(int job, int page) const {
        return folder_ + "\\" + printer_ + "_" + std::to_string(job) + "_" + std::to_string(page) +
               ".emf";
    }

    Scenario scenario(const std::string& json) {
        std::string text = json;
        auto replace = [&text](const std::string& from, const std::string& to) {
            for (std::size_t at = text.find(from); at != std::string::npos;
                 at = text.find(from, at + to.size()))
                text.replace(at, from.size(), to);
        };
        std::string escapedFolder;
        for (char c : folder_) escapedFolder += c == '\\' ? std::string("\\\\") : std::string(1, c);
        replace("$PRINTER", printer_);
        replace("$FOLDER", escapedFolder);
        std::string error;
        std::optional<Scenario> parsed = printside::parseScenario(text, ".", &error);
        EXPECT_TRUE(parsed.has_value()) << error;
        return parsed.value_or(Scenario{});
    }

    std::string key(const std::string& below) const {
        return std::string(printside::kVendorKey) + "\\" + printer_ +
               (below.empty() ? "" : "\\" + below);
    }

    bool keyExists(const std::string& below) const {
        win::reg::UniqueKey handle;
        return win::reg::openKey(win::reg::currentUser, key(below).c_str(), win::reg::access::read,
                                 handle.put()) == 0;
    }

    printside::JobRun runOne(const Scenario& s) {
        std::vector<printside::JobRun> runs =
            printside::runJobs({s}, "jobhost.exe", kTimeoutMs, nullptr);
        EXPECT_TRUE(runs[0].started) << "error " << runs[0].startError;
        EXPECT_TRUE(runs[0].ended);
        EXPECT_EQ(runs[0].exitCode, 0u);
        return runs[0];
    }

    std::string printer_, folder_, logPath_;
};

TEST_F(JobhostUnderWine, NoRedirectJobFinishesWithoutALog) {
    Scenario s = scenario(R"({"printer": "$PRINTER", "job": 17, "steps": [
        {"at": 0, "redirectSettings": {"path": "$PRINTER\\RS", "Redirect Printing Log File": "$FOLDER\\$PRINTER.log"}},
        {"at": 0, "job": {"Ready": "NO"}},
        {"at": 0, "forwarding": {"REDIRECT INFO REGISTRY PATH": "$PRINTER\\RS", "Ready": "No Redirect"}},
        {"at": 1200, "job": {"Job Status": "Job Finished"}}]})");
    printside::JobRun run = runOne(s);
    EXPECT_GE(run.elapsedMs, 1200u);
    EXPECT_FALSE(keyExists("17"));
    EXPECT_FALSE(keyExists("Forwarding\\17_0"));
    EXPECT_TRUE(keyExists("RS"));
    EXPECT_FALSE(fileExists(logPath_));
}

TEST_F(JobhostUnderWine, ThreeReadyPagesWithoutTargetsTakeFourCycles) {
    Scenario s = scenario(R"({"printer": "$PRINTER", "job": 17, "steps": [
        {"beforeStart": true, "redirectSettings": {"path": "$PRINTER\\RS", "Enable Redirect Printing Log": "yes",
            "Redirect Printing Log File": "$FOLDER\\$PRINTER.log", "Printer count": 0}},
        {"beforeStart": true, "key": {"path": "$PRINTER\\Save As Option Settings\\17", "values": {"x": 1}}},
        {"beforeStart": true, "job": {"Ready": "NO", "Job Status": "Job Finished"}},
        {"beforeStart": true, "page": {"number": 1, "file": "$FOLDER\\$PRINTER_17_1.emf", "content": "page one"}},
        {"beforeStart": true, "page": {"number": 2, "file": "$FOLDER\\$PRINTER_17_2.emf", "content": "page two"}},
        {"beforeStart": true, "page": {"number": 3, "file": "$FOLDER\\$PRINTER_17_3.emf", "content": "page three"}},
        {"beforeStart": true, "forwarding": {"DOCUMENT NAME": "Quarterly report", "REDIRECT INFO REGISTRY PATH": "$PRINTER\\RS",
            "PAGENUMBER": 3, "Ready": "YES"}}]})");
    win::file::UniqueFile existing(
        win::file::create(logPath_.c_str(), win::file::access::genericWrite, 0,
                          win::file::disposition::createAlways, win::file::attributeNormal));
    win::Dword written = 0;
    win::file::write(existing.get(), "earlier line\r\n", 14, &written);
    existing.reset();

    printside::JobRun run = runOne(s);
    // Start with page 1, pages 2 and 3, finish: four cycles, each ending in a 500 ms sleep.
    EXPECT_GE(run.elapsedMs, 2000u);

    std::optional<std::string> log = ReadWholeFile(logPath_);
    ASSERT_TRUE(log.has_value());
    ASSERT_EQ(log->rfind("earlier line\r\n", 0), 0u);
    EXPECT_EQ(
        logMessages(log->substr(14)),
        (std::vector<std::string>{"Redirect printing started.", "Document Name = Quarterly report",
                                  "Redirect Printers Count = 0", "Number of copies = 1",
                                  "Redirect Printer Names:", "Printing page: 1", "Printing page: 2",
                                  "Printing page: 3", "Redirect printing finished.",
                                  "---------------------------"}));
    for (const char* gone : {"17", "Forwarding\\17_0", "Forwarding\\17_1", "Forwarding\\17_2",
                             "Forwarding\\17_3", "Save As Option Settings\\17"})
        EXPECT_FALSE(keyExists(gone)) << gone;
    for (int page = 1; page <= 3; ++page) EXPECT_FALSE(fileExists(pagePath(17, page))) << page;
    EXPECT_TRUE(keyExists("RS"));
}

TEST_F(JobhostUnderWine, JobAbortedThroughItsStatusCleansUpAndLogsTheAbort) {
    // The status is written before pages 2 and 3, so the cycle that sees those pages sees the
    // abort first: page 1 went out, the clean-up walk stops at its missing key.
    Scenario s = scenario(R"({"printer": "$PRINTER", "job": 17, "steps": [
        {"beforeStart": true, "redirectSettings": {"path": "$PRINTER\\RS", "Enable Redirect Printing Log": "on",
            "Redirect Printing Log File": "$FOLDER\\$PRINTER.log"}},
        {"beforeStart": true, "job": {"Ready": "NO"}},
        {"beforeStart": true, "forwarding": {"DOCUMENT NAME": "Doc", "REDIRECT INFO REGISTRY PATH": "$PRINTER\\RS", "Ready": "Printing"}},
        {"at": 200, "page": {"number": 1, "file": "$FOLDER\\$PRINTER_17_1.emf", "content": "one"}},
        {"at": 1700, "job": {"Job Status": "Aborted"}},
        {"at": 1700, "page": {"number": 2, "file": "$FOLDER\\$PRINTER_17_2.emf", "content": "two"}},
        {"at": 1700, "page": {"number": 3, "file": "$FOLDER\\$PRINTER_17_3.emf", "content": "three"}}]})");
    runOne(s);
    std::optional<std::string> log = ReadWholeFile(logPath_);
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(logMessages(*log), (std::vector<std::string>{
                                     "Redirect printing started.", "Document Name = Doc",
                                     "Redirect Printers Count = 0", "Number of copies = 1",
                                     "Redirect Printer Names:", "Printing page: 1",
                                     "Redirect printing aborted.", "---------------------------"}));
    for (const char* gone : {"17", "Forwarding\\17_0", "Forwarding\\17_1"})
        EXPECT_FALSE(keyExists(gone)) << gone;
    EXPECT_FALSE(fileExists(pagePath(17, 1)));
    for (int page : {2, 3}) {
        EXPECT_TRUE(keyExists("Forwarding\\17_" + std::to_string(page))) << page;
        EXPECT_TRUE(fileExists(pagePath(17, page))) << page;
    }
}

TEST_F(JobhostUnderWine, CommandLineWithoutACommaTouchesNothing) {
    Scenario s = scenario(R"({"printer": "$PRINTER", "job": 17, "commandLine": "17", "steps": [
        {"beforeStart": true, "redirectSettings": {"path": "$PRINTER\\RS", "Redirect Printing Log File": "$FOLDER\\$PRINTER.log"}},
        {"beforeStart": true, "job": {"Ready": "NO", "Job Status": "Job Finished"}},
        {"beforeStart": true, "page": {"number": 1, "file": "$FOLDER\\$PRINTER_17_1.emf", "content": "one"}},
        {"beforeStart": true, "forwarding": {"REDIRECT INFO REGISTRY PATH": "$PRINTER\\RS", "PAGENUMBER": 1, "Ready": "YES"}}]})");
    runOne(s);
    EXPECT_TRUE(keyExists("17"));
    EXPECT_TRUE(keyExists("Forwarding\\17_0"));
    EXPECT_TRUE(keyExists("Forwarding\\17_1"));
    EXPECT_TRUE(fileExists(pagePath(17, 1)));
    EXPECT_FALSE(fileExists(logPath_));
}

TEST_F(JobhostUnderWine, TwoJobsAtOnceShareALogThatOnlyTheFirstOneWrites) {
    std::string settings =
        R"({"beforeStart": true, "redirectSettings": {"path": "$PRINTER\\RS", "Enable Redirect Printing Log": "yes",
        "Redirect Printing Log File": "$FOLDER\\$PRINTER.log"}})";
    auto job = [&](int number, const char* document, int startAt, int finishAt) {
        std::string n = std::to_string(number);
        return scenario(R"({"printer": "$PRINTER", "job": )" + n + R"(, "steps": [)" + settings +
                        R"(,
            {"beforeStart": true, "job": {"Ready": "NO"}},
            {"at": )" + std::to_string(startAt) +
                        R"(, "forwarding": {"DOCUMENT NAME": ")" + document +
                        R"(", "REDIRECT INFO REGISTRY PATH": "$PRINTER\\RS", "Ready": "Printing"}},
            {"at": )" + std::to_string(finishAt) +
                        R"(, "forwarding": {"PAGENUMBER": 0, "Ready": "YES"}},
            {"at": )" + std::to_string(finishAt) +
                        R"(, "job": {"Job Status": "Job Finished"}}]})");
    };
    std::vector<Scenario> jobs{job(21, "First job", 0, 3000), job(22, "Second job", 1000, 2000)};
    std::vector<printside::JobRun> runs =
        printside::runJobs(jobs, "jobhost.exe", kTimeoutMs, nullptr);
    for (const printside::JobRun& run : runs) {
        EXPECT_TRUE(run.started && run.ended);
        EXPECT_EQ(run.exitCode, 0u);
    }
    std::optional<std::string> log = ReadWholeFile(logPath_);
    ASSERT_TRUE(log.has_value());
    std::vector<std::string> messages = logMessages(*log);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Document Name = First job"), 1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Document Name = Second job"), 0);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Redirect printing finished."), 1);
    EXPECT_FALSE(keyExists("21"));
    EXPECT_FALSE(keyExists("22"));
}

}  // namespace
