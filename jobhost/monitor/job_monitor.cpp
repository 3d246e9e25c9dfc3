#include "jobhost/monitor/job_monitor.h"

#include "jobhost/monitor/command_line.h"
#include "jobhost/monitor/job_registry.h"
#include "jobhost/monitor/redirect_log.h"
#include "jobhost/redirect/redirect_target.h"
#include "win/file.h"
#include "win/memory.h"
#include "win/time.h"

namespace {

constexpr char kLogRule[] = "---------------------------";

struct JobMonitorState {
    JobCommandLine stJob;
    std::int32_t nCycleCount = 0;
    std::uint32_t bJobFinished = 0;
    std::uint32_t bRedirectDone = 0;
    std::uint32_t nCurrentPage = 0;
    std::uint32_t nLastPage = 0;
    std::uint32_t nCopies = 1;
    std::int32_t nTargetCount = 0;
    RedirectTarget* pTargets = nullptr;
    char szDocumentName[kValueFieldSize] = {};
    char szRedirectSettingsPath[kValueFieldSize] = {};
    char szApplication[kValueFieldSize] = {};
    char szCommandLine[kCommandLineFieldSize] = {};
    std::uint32_t dwStartFlags = 0;
    char szEventName[kValueFieldSize] = {};
    // The user's application is started once per job, even when its job key cannot be deleted.
    bool bApplicationStarted = false;
};

enum class Next { goOn, stop };

class JobMonitor {
  public:
    JobMonitor(const JobCommandLine& stJob, JobActions& actions) : m_actions(actions) {
        m_state.stJob = stJob;
    }
    JobMonitor(const JobMonitor&) = delete;
    JobMonitor& operator=(const JobMonitor&) = delete;
    ~JobMonitor() { FreeTargets(); }

    void Run() {
        while (RunCycle() == Next::goOn) {
        }
    }

  private:
    const char* PrinterKeyName() const { return m_state.stJob.szPrinterKeyName; }
    std::int32_t JobNumber() const { return m_state.stJob.nJobNumber; }

    Next RunCycle() {
        if (StartBeforePrinting() == Next::stop) return Next::stop;
        if (FollowJobStatus() == Next::stop) return Next::stop;
        if (FollowRedirectPrinting() == Next::stop) return Next::stop;
        ++m_state.nCycleCount;
        win::time::sleep(kCycleSleepMs);
        if (m_state.nCycleCount >= kMaxCycles) return Next::stop;
        return m_state.bJobFinished && m_state.bRedirectDone ? Next::stop : Next::goOn;
    }

    int ReadStartValues() {
        return StartApp_ReadRegistryKey(PrinterKeyName(), JobNumber(), m_state.szCommandLine,
                                        sizeof m_state.szCommandLine, m_state.szApplication,
                                        sizeof m_state.szApplication, &m_state.dwStartFlags,
                                        m_state.szEventName, sizeof m_state.szEventName);
    }

    Next StartBeforePrinting() {
        if (m_state.bApplicationStarted) return Next::goOn;
        if (StartApp_CheckReady(PrinterKeyName(), JobNumber()) != 1) return Next::goOn;
        switch (ReadStartValues()) {
            case RET_START_APP_READY:
                m_state.bApplicationStarted = true;
                m_actions.StartApplication(m_state.szCommandLine, m_state.szApplication,
                                           m_state.dwStartFlags, m_state.szEventName);
                DeleteJobRegistryKey(PrinterKeyName(), JobNumber());
                return Next::goOn;
            case RET_START_APP_ABORT:
                AbortOnAbort();
                return Next::stop;
            default:
                return Next::goOn;
        }
    }

    Next FollowJobStatus() {
        switch (ReadJobStatusRegistryKey(PrinterKeyName(), JobNumber())) {
            case 1:
                return FinishJob();
            case 2:
                AbortOnJobStatus();
                return Next::stop;
            default:
                return Next::goOn;
        }
    }

    Next FinishJob() {
        // A job key that could not be deleted reports the end again; its actions ran already.
        if (!m_state.bJobFinished) {
            m_state.bJobFinished = 1;
            switch (ReadStartValues()) {
                case RET_START_APP_READY:
                    if (!m_state.bApplicationStarted) {
                        m_state.bApplicationStarted = true;
                        m_actions.StartApplication(m_state.szCommandLine, m_state.szApplication,
                                                   m_state.dwStartFlags, nullptr);
                    }
                    break;
                case RET_START_APP_ABORT:
                    AbortOnAbort();
                    return Next::stop;
                default:
                    break;
            }
            std::uint32_t dwPostPrintFlags = 0;
            if (ReadJobRegistryDword(PrinterKeyName(), JobNumber(), "Post Print Flags",
                                     &dwPostPrintFlags) &&
                dwPostPrintFlags != 0)
                m_actions.StartPostPrintSteps(JobNumber(), PrinterKeyName(), dwPostPrintFlags);
        }
        DeleteJobRegistryKey(PrinterKeyName(), JobNumber());
        DeletePortMonitorFinishedTheJobRegistryKey(PrinterKeyName(), JobNumber());
        return Next::goOn;
    }

    Next FollowRedirectPrinting() {
        // Finished and disabled are final: a forwarding key 0 written again afterwards must not
        // start the job's redirect printing a second time.
        if (m_state.bRedirectDone) return Next::goOn;
        switch (ReadEndDocFromRegistryKey(PrinterKeyName(), JobNumber(), &m_state.nLastPage,
                                          m_state.szDocumentName, m_state.szRedirectSettingsPath)) {
            case RET_REDIRECT_PRINTING_FINISHED:
                if (m_state.nCurrentPage > m_state.nLastPage) {
                    m_state.nCurrentPage = m_state.nLastPage;
                    FinishRedirectPrinting();
                    return Next::goOn;
                }
                [[fallthrough]];
            case RET_REDIRECT_PRINTING_PRINTING:
                if (m_state.nCurrentPage == 0 && StartRedirectPrinting() == Next::stop)
                    return Next::stop;
                ForwardCurrentPage();
                return Next::goOn;
            case RET_REDIRECT_PRINTING_DISABLED:
                RedirectPrinting_DeleteRegistryKey(PrinterKeyName(), JobNumber(), 0);
                m_state.bRedirectDone = 1;
                return Next::goOn;
            default:
                return Next::goOn;
        }
    }

    // Reads target n's printer name into a cleared 512-byte field; an unreadable name is empty.
    void ReadTargetName(std::int32_t nIndex, char (&szName)[kPrinterNameFieldSize]) {
        szName[0] = '\0';
        std::uint32_t nSize = sizeof szName;
        RedirectPrinting_ReadPrinterName(m_state.szRedirectSettingsPath, nIndex, szName, &nSize);
    }

    Next StartRedirectPrinting() {
        m_state.nCurrentPage = 1;
        OpenLogFile(m_state.szRedirectSettingsPath);
        WriteRedirectLog("Redirect printing started.");
        WriteRedirectLog("Document Name = %s", m_state.szDocumentName);
        m_state.nTargetCount = RedirectPrinting_ReadPrinterCount(m_state.szRedirectSettingsPath);
        WriteRedirectLog("Redirect Printers Count = %d", int(m_state.nTargetCount));
        RedirectPrinting_ReadNumberOfCopies(PrinterKeyName(), JobNumber(), &m_state.nCopies);
        WriteRedirectLog("Number of copies = %d", int(m_state.nCopies));
        WriteRedirectLog("Redirect Printer Names:");
        if (m_state.nTargetCount > 0) {
            m_state.pTargets = static_cast<RedirectTarget*>(win::mem::heapAlloc(
                sizeof(RedirectTarget) * std::size_t(m_state.nTargetCount), true));
            if (!m_state.pTargets) {
                m_state.nTargetCount = 0;
                return Next::stop;
            }
        }
        for (std::int32_t n = 0; n < m_state.nTargetCount; ++n) {
            char szName[kPrinterNameFieldSize];
            ReadTargetName(n, szName);
            WriteRedirectLog("\t%s", szName);
            RedirectTarget& target = m_state.pTargets[n];
            target.jobNumber = JobNumber();
            if (m_actions.DoStartDocument(szName, m_state.szDocumentName, m_state.nCopies,
                                          &target) == 1)
                target.bOpen = 1;
        }
        return Next::goOn;
    }

    void ForwardCurrentPage() {
        const std::int32_t nPage = std::int32_t(m_state.nCurrentPage);
        char szFileName[kValueFieldSize] = {};
        std::uint32_t dwFileSize = 0;
        void* pSettings = nullptr;
        std::uint32_t dwSettingsSize = 0;
        const int nResult = RedirectPrinting_ReadRegistryKey(
            PrinterKeyName(), JobNumber(), nPage, szFileName, sizeof szFileName, &dwFileSize,
            &pSettings, &dwSettingsSize);
        if (pSettings) win::mem::heapFree(pSettings);
        if (nResult != RET_PAGE_READY) return;

        WriteRedirectLog("Printing page: %d", int(nPage));
        for (std::int32_t n = 0; n < m_state.nTargetCount; ++n) {
            char szName[kPrinterNameFieldSize];
            ReadTargetName(n, szName);
            RedirectTarget& target = m_state.pTargets[n];
            if (target.bOpen)
                m_actions.DoPrintPage(szName, m_state.szDocumentName, m_state.nCurrentPage, &target,
                                      PrinterKeyName(), m_state.nCopies);
        }
        RedirectPrinting_DeleteRegistryKey(PrinterKeyName(), JobNumber(), nPage);
        if (szFileName[0]) win::file::remove(szFileName);
        ++m_state.nCurrentPage;
    }

    void EndOpenTargets() {
        for (std::int32_t n = 0; n < m_state.nTargetCount; ++n) {
            RedirectTarget& target = m_state.pTargets[n];
            if (!target.bOpen) continue;
            target.bOpen = 0;
            m_actions.DoEndDocument(&target, m_state.nCopies);
        }
    }

    void FreeTargets() {
        for (std::int32_t n = 0; n < m_state.nTargetCount; ++n)
            if (m_state.pTargets[n].phCopyDcs) win::mem::heapFree(m_state.pTargets[n].phCopyDcs);
        if (m_state.pTargets) win::mem::heapFree(m_state.pTargets);
        m_state.pTargets = nullptr;
        m_state.nTargetCount = 0;
    }

    void FinishRedirectPrinting() {
        WriteRedirectLog("Redirect printing finished.");
        WriteRedirectLog("%s", kLogRule);
        CloseLogFile();
        m_state.bRedirectDone = 1;
        EndOpenTargets();
        FreeTargets();
        RedirectPrinting_DeleteRegistryKey(PrinterKeyName(), JobNumber(), 0);
        DeleteSaveAsOptionSettingsRegistryKey(PrinterKeyName(), JobNumber());
    }

    // The job key's "Ready" turned to "Abort": the targets' documents are dropped unended.
    void AbortOnAbort() {
        win::time::sleep(kAbortWaitMs);
        DeleteAbortedJobRegistryKeys(PrinterKeyName(), JobNumber());
        WriteRedirectLog("Redirect printing aborted.");
        WriteRedirectLog("%s", kLogRule);
        FreeTargets();
    }

    // "Job Status" reads "Aborted": the pages forwarded so far are still printed.
    void AbortOnJobStatus() {
        DeleteAbortedJobRegistryKeys(PrinterKeyName(), JobNumber());
        WriteRedirectLog("Redirect printing aborted.");
        WriteRedirectLog("%s", kLogRule);
        EndOpenTargets();
        FreeTargets();
    }

    JobMonitorState m_state;
    JobActions& m_actions;
};

}  // namespace

int RunJobMonitor(const char* szCommandLine, JobActions& actions) {
    JobCommandLine stJob;
    if (!ParseJobCommandLine(szCommandLine, &stJob)) return 0;
    {
        JobMonitor monitor(stJob, actions);
        monitor.Run();
    }
    // What the end of the process releases: after an abort or at the cycle limit the log is
    // still open.
    CloseLogFile();
    return 0;
}
