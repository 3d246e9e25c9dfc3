// The job monitor wired to the program's other subsystems.
//
// Not built yet: DoStartDocument, DoPrintPage and DoEndDocument come with the redirect-printing
// work. Until they land no target opens, so no page is drawn anywhere; the pages are still
// logged and removed as the job goes on.
#include "jobhost/launch/application_start.h"
#include "jobhost/launch/post_print.h"
#include "jobhost/monitor/job_actions.h"
#include "jobhost/monitor/job_monitor.h"

namespace {

class ProductionJobActions final : public JobActions {
  public:
    void StartApplication(const char* szCommandLine, const char* szApplication,
                          std::uint32_t dwFlags, const char* szEventName) override {
        ::StartApplication(szCommandLine, szApplication, dwFlags, szEventName);
    }
    void StartPostPrintSteps(std::int32_t nJobNumber, const char* szPrinterKeyName,
                             std::uint32_t dwPostPrintFlags) override {
        ::StartPostPrintSteps(nJobNumber, szPrinterKeyName, dwPostPrintFlags);
    }
    int DoStartDocument(const char*, const char*, std::uint32_t, RedirectTarget*) override {
        return 0;
    }
    void DoPrintPage(const char*, const char*, std::uint32_t, RedirectTarget*, const char*,
                     std::uint32_t) override {}
    void DoEndDocument(RedirectTarget*, std::uint32_t) override {}
};

}  // namespace

int RunProductionJobMonitor(const char* szCommandLine) {
    ProductionJobActions actions;
    return RunJobMonitor(szCommandLine, actions);
}
