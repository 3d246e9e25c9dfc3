// A JobActions that records every call with the cycle it came in, and behaves towards the
// job monitor like the real functions do: DoStartDocument allocates the copy array (also when
// it fails, as the real one may), DoEndDocument logs one line per copy.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "jobhost/monitor/job_actions.h"
#include "jobhost/monitor/redirect_log.h"
#include "jobhost/redirect/redirect_target.h"
#include "monitor_fixture.h"
#include "win/memory.h"

namespace monitor_test {

// Cycle n starts at (n - 1) * 500 ms of virtual time.
inline int CurrentCycle() {
    return int(win::sim::nowMs() / 500) + 1;
}

struct PrintedPage {
    std::string printer;
    std::uint32_t page;
    int cycle;
    bool keyLeft;   // the page's key still there while the target gets it
    bool fileLeft;  // and its file
};

class RecordingJobActions : public JobActions {
  public:
    void StartApplication(const char* szCommandLine, const char* szApplication,
                          std::uint32_t dwFlags, const char* szEventName) override {
        Record("StartApplication(" + std::string(szCommandLine) + " | " + szApplication + " | " +
               std::to_string(dwFlags) + " | " + (szEventName ? szEventName : "no event") + ")");
    }
    void StartPostPrintSteps(std::int32_t nJobNumber, const char* szPrinterKeyName,
                             std::uint32_t dwPostPrintFlags) override {
        Record("StartPostPrintSteps(" + std::to_string(nJobNumber) + " | " + szPrinterKeyName +
               " | " + std::to_string(dwPostPrintFlags) + ")");
    }
    int DoStartDocument(const char* szPrinterName, const char* szDocumentName,
                        std::uint32_t nCopies, RedirectTarget* pTarget) override {
        Record("DoStartDocument(" + std::string(szPrinterName) + " | " + szDocumentName + " | " +
               std::to_string(nCopies) + " | job " + std::to_string(pTarget->jobNumber) + ")");
        pTarget->phCopyDcs =
            static_cast<win::gdi::Dc*>(win::mem::heapAlloc(sizeof(win::gdi::Dc) * nCopies, true));
        if (failingPrinters.count(szPrinterName)) return 0;
        pTarget->hPrinter = win::spool::Printer(0x100 + started++);
        return 1;
    }
    void DoPrintPage(const char* szPrinterName, const char* szDocumentName, std::uint32_t nPage,
                     RedirectTarget* pTarget, const char* szPrinterKeyName,
                     std::uint32_t nCopies) override {
        Record("DoPrintPage(" + std::string(szPrinterName) + " | " + szDocumentName + " | page " +
               std::to_string(nPage) + " | " + szPrinterKeyName + " | " + std::to_string(nCopies) +
               (pTarget->bOpen ? "" : " | closed") + ")");
        const std::string key = ForwardingKey(int(nPage));
        auto file = win::sim::regString(kUser, key, "Forwarding");
        printed.push_back({szPrinterName, nPage, CurrentCycle(), win::sim::regKeyExists(kUser, key),
                           file && win::sim::fileExists(*file)});
    }
    void DoEndDocument(RedirectTarget* pTarget, std::uint32_t nCopies) override {
        Record("DoEndDocument(printer " + std::to_string(std::uintptr_t(pTarget->hPrinter)) +
               " | " + std::to_string(nCopies) + (pTarget->bOpen ? " | still open" : "") + ")");
        for (std::uint32_t copy = 0; copy < nCopies; ++copy)
            WriteRedirectLog("Printing successfully finished (copy: %d).", int(copy));
    }

    std::vector<std::string> calls;
    std::vector<PrintedPage> printed;
    std::set<std::string> failingPrinters;

  private:
    void Record(const std::string& call) {
        calls.push_back("cycle " + std::to_string(CurrentCycle()) + ": " + call);
    }
    int started = 0;
};

}  // namespace monitor_test
