// What the job monitor asks of the other subsystems. Production wires the real functions in;
// tests record the calls.
#pragma once

#include <cstdint>

struct RedirectTarget;

class JobActions {
  public:
    virtual ~JobActions() = default;
    // eventName is null for a start after printing.
    virtual void StartApplication(const char* szCommandLine, const char* szApplication,
                                  std::uint32_t dwFlags, const char* szEventName) = 0;
    virtual void StartPostPrintSteps(std::int32_t nJobNumber, const char* szPrinterKeyName,
                                     std::uint32_t dwPostPrintFlags) = 0;
    // 1 when the target is open.
    virtual int DoStartDocument(const char* szPrinterName, const char* szDocumentName,
                                std::uint32_t nCopies, RedirectTarget* pTarget) = 0;
    virtual void DoPrintPage(const char* szPrinterName, const char* szDocumentName,
                             std::uint32_t nPage, RedirectTarget* pTarget,
                             const char* szPrinterKeyName, std::uint32_t nCopies) = 0;
    virtual void DoEndDocument(RedirectTarget* pTarget, std::uint32_t nCopies) = 0;
};
