// Whatever the printing side may have stored in a job's keys: values of any type and size
// under every name the job exchange reads, then every reader of those keys.
#include <cstdint>
#include <string>

#include "jobhost/monitor/job_registry.h"
#include "win/memory.h"
#include "win/sim/machine.h"

namespace {

constexpr const char* kPrinter = "P";
constexpr std::int32_t kJob = 7;
const std::string kBase = "SOFTWARE\\Korvanex Software LLC\\P";

struct Slot {
    std::string key;
    const char* name;
};

const Slot kSlots[] = {
    {kBase + "\\7", "Ready"},
    {kBase + "\\7", "Flags"},
    {kBase + "\\7", "Server"},
    {kBase + "\\7", "Command Line"},
    {kBase + "\\7", "MessagingInterface"},
    {kBase + "\\7", "Job Status"},
    {kBase + "\\7", "Post Print Flags"},
    {kBase + "\\Forwarding\\7_0", "Ready"},
    {kBase + "\\Forwarding\\7_0", "PAGENUMBER"},
    {kBase + "\\Forwarding\\7_0", "DOCUMENT NAME"},
    {kBase + "\\Forwarding\\7_0", "REDIRECT INFO REGISTRY PATH"},
    {kBase + "\\Forwarding\\7_0", "Number of copies"},
    {kBase + "\\Forwarding\\7_0", "Bates start number"},
    {kBase + "\\Forwarding\\7_0", "Current Bates number"},
    {kBase + "\\Forwarding\\7_1", "Ready"},
    {kBase + "\\Forwarding\\7_1", "Forwarding"},
    {kBase + "\\Forwarding\\7_1", "Size"},
    {kBase + "\\Forwarding\\7_1", "DevModeSize"},
    {kBase + "\\Forwarding\\7_1", "DevMode"},
    {kBase + "\\RS", "Printer count"},
    {kBase + "\\RS", "Printer 1"},
    {kBase + "\\Email_TMP\\7", "Email sending program 32bit"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    win::sim::reset();
    // Records of [slot, type, length, bytes...].
    std::size_t at = 0;
    while (at + 3 <= size) {
        const Slot& slot = kSlots[data[at] % (sizeof kSlots / sizeof kSlots[0])];
        win::Dword type = data[at + 1] % 12;
        std::size_t length = data[at + 2];
        at += 3;
        if (length > size - at) length = size - at;
        win::sim::regSetRaw(win::reg::currentUser, slot.key, slot.name, type,
                            std::string(reinterpret_cast<const char*>(data + at), length));
        at += length;
    }

    char commandLine[kCommandLineFieldSize], application[kValueFieldSize], event[kValueFieldSize];
    std::uint32_t flags = 0;
    StartApp_CheckReady(kPrinter, kJob);
    StartApp_ReadRegistryKey(kPrinter, kJob, commandLine, sizeof commandLine, application,
                             sizeof application, &flags, event, sizeof event);
    ReadJobStatusRegistryKey(kPrinter, kJob);

    std::uint32_t lastPage = 0, copies = 1;
    char document[kValueFieldSize] = {}, settingsPath[kValueFieldSize] = {};
    ReadEndDocFromRegistryKey(kPrinter, kJob, &lastPage, document, settingsPath);
    RedirectPrinting_ReadNumberOfCopies(kPrinter, kJob, &copies);
    std::int32_t current = 0, start = 0;
    RedirectPrinting_ReadBatesNumbers(kPrinter, kJob, &current, &start);
    RedirectPrinting_ReadPrinterCount(settingsPath);
    char printer[kPrinterNameFieldSize];
    std::uint32_t printerSize = sizeof printer;
    RedirectPrinting_ReadPrinterName("P\\RS", 0, printer, &printerSize);

    char fileName[kValueFieldSize];
    std::uint32_t fileSize = 0, settingsSize = 0;
    void* settings = nullptr;
    RedirectPrinting_ReadRegistryKey(kPrinter, kJob, 1, fileName, sizeof fileName, &fileSize,
                                     &settings, &settingsSize);
    if (settings) win::mem::heapFree(settings);
    RedirectPrinting_ReadFileNameRegistryKey(kPrinter, kJob, 1, fileName);

    char mailer[kValueFieldSize];
    std::uint32_t mailerSize = sizeof mailer;
    ReadEmailRegistryValue(kJob, kPrinter, "Email sending program 32bit", mailer, &mailerSize);
    DeleteAbortedJobRegistryKeys(kPrinter, kJob);

    if (win::sim::openResources().total() != 0) __builtin_trap();
    return 0;
}
