// The job exchange protocol: how the printing side tells jobhost about one print job through
// keys under HKEY_CURRENT_USER, and how jobhost reads them and removes them when they have
// served. jobhost only reads and deletes here. Every read opens its key, reads one value at a
// time and closes the key before returning; a missing key or value is never an error.
//
// String values are read under the rule of registry_read.h: a value that does not fit its
// field, or fills it without a terminator, counts as missing; one that is read is terminated
// within its field.
#pragma once

#include <cstdint>

inline constexpr int RET_START_APP_READY = 1;
inline constexpr int RET_START_APP_ABORT = 2;

inline constexpr int RET_REDIRECT_PRINTING_FINISHED = 1;
inline constexpr int RET_REDIRECT_PRINTING_PRINTING = 3;
inline constexpr int RET_REDIRECT_PRINTING_DISABLED = 4;

inline constexpr int RET_PAGE_READY = 1;
inline constexpr int RET_PAGE_ABORT = 2;

// "Flags" bit of a start before printing.
inline constexpr std::uint32_t START_APP_BEFORE_PRINTING_FLAG = 0x2;

// Field sizes of the values, in bytes.
inline constexpr std::uint32_t kValueFieldSize = 260;
inline constexpr std::uint32_t kCommandLineFieldSize = 1024;
inline constexpr std::uint32_t kPrinterNameFieldSize = 512;

// The largest "DevModeSize" accepted. The driver's settings record is 6879 bytes; anything
// near this cap is already no settings record.
inline constexpr std::uint32_t kMaxSettingsRecordSize = 1u << 20;

// ---- the job key ---------------------------------------------------------------------------

// 1: "Ready" is "YES" and "Flags" asks for a start before printing; 2: "Ready" is "YES" and the
// start waits for the end of the job; 0: the key, "Ready" or "Flags" is missing, or "Ready"
// reads anything else.
int StartApp_CheckReady(const char* szPrinterKeyName, std::int32_t nJobNumber);

// On "Ready" "YES" fills the application ("Server"), the command line ("Command Line", empty
// when missing), the flags and, for a start before printing, the event name
// ("MessagingInterface"), and returns RET_START_APP_READY; RET_START_APP_ABORT on "Abort";
// else 0. The event name field may be absent when no start before printing is expected.
int StartApp_ReadRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                             char* szCommandLine, std::uint32_t nCommandLineSize,
                             char* szApplication, std::uint32_t nApplicationSize,
                             std::uint32_t* pdwFlags, char* szEventName,
                             std::uint32_t nEventNameSize);

// 1: "Job Status" reads "Job Finished"; 2: "Aborted"; 0 otherwise.
int ReadJobStatusRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber);

// One string value of the job key into pField (*pnSize bytes in; bytes read out). 1 when read.
int ReadJobRegistryValue(const char* szPrinterKeyName, std::int32_t nJobNumber,
                         const char* szValueName, char* pField, std::uint32_t* pnSize);

// One 32-bit value of the job key. 1 when read.
int ReadJobRegistryDword(const char* szPrinterKeyName, std::int32_t nJobNumber,
                         const char* szValueName, std::uint32_t* pdwValue);

void DeleteJobRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber);

// Deletes "Job Status" and then the job key. Returns 1 whatever happened.
int DeletePortMonitorFinishedTheJobRegistryKey(const char* szPrinterKeyName,
                                               std::int32_t nJobNumber);

// ---- the forwarding keys -------------------------------------------------------------------

// Reads forwarding key 0: RET_REDIRECT_PRINTING_FINISHED on "YES" (the last page read from
// "PAGENUMBER" when present), RET_REDIRECT_PRINTING_PRINTING on "Printing",
// RET_REDIRECT_PRINTING_DISABLED on "No Redirect" (nothing else is read), else 0. Except for
// "No Redirect", fills the document name (260-byte field) and the redirect settings path
// (260-byte field: the company key followed by "REDIRECT INFO REGISTRY PATH"), each left as it
// was when its value is missing or the path does not fit.
int ReadEndDocFromRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                              std::uint32_t* pnLastPage, char* szDocumentName,
                              char* szRedirectSettingsPath);

// Reads page key nPageNumber: RET_PAGE_READY when "Ready" is "YES", with the file name, the
// file size and the settings record as far as they are present; RET_PAGE_ABORT on "Abort";
// else 0. The settings block has room for four times "DevModeSize" bytes, of which the first
// "DevModeSize" hold "DevMode"; it comes from win::mem::heapAlloc and belongs to the caller
// whenever *ppSettings is set, whatever the result (set *ppSettings to null before the call;
// free it with win::mem::heapFree). A "DevModeSize" of 0 or above kMaxSettingsRecordSize
// counts as missing: RET_PAGE_READY with no block and *pdwSettingsSize 0.
int RedirectPrinting_ReadRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                     std::int32_t nPageNumber, char* szFileName,
                                     std::uint32_t nFileNameSize, std::uint32_t* pdwFileSize,
                                     void** ppSettings, std::uint32_t* pdwSettingsSize);

// "Forwarding" of page key nPageNumber into a 260-byte field, whatever "Ready" says. 1 when
// read.
int RedirectPrinting_ReadFileNameRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                             std::int32_t nPageNumber, char* szFileName);

// "Number of copies" of key 0, left as it was when missing. 1 when read and also when key 0
// does not exist; 0 when the key exists without the value.
int RedirectPrinting_ReadNumberOfCopies(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                        std::uint32_t* pnCopies);

// "Current Bates number" and "Bates start number" of key 0, each left as it was when missing.
// 1 when both were read and also when key 0 does not exist; 0 when one is missing.
int RedirectPrinting_ReadBatesNumbers(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                      std::int32_t* pnCurrentNumber, std::int32_t* pnStartNumber);

void RedirectPrinting_DeleteRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber,
                                        std::int32_t nPageNumber);

// ---- the redirect settings key -------------------------------------------------------------

// The largest "Printer count" taken; a negative or larger count counts as missing.
inline constexpr std::int32_t kMaxRedirectTargets = 256;

// "Printer count"; 0 when the key or the value is missing.
std::int32_t RedirectPrinting_ReadPrinterCount(const char* szRedirectSettingsPath);

// "Printer <nIndex + 1>" into pField (*pnSize bytes in; bytes read out). 1 when read.
int RedirectPrinting_ReadPrinterName(const char* szRedirectSettingsPath, std::int32_t nIndex,
                                     char* pField, std::uint32_t* pnSize);

// ---- the job's other keys ------------------------------------------------------------------

// One string value of the job's e-mail or SharePoint key. 1 when read.
int ReadEmailRegistryValue(std::int32_t nJobNumber, const char* szPrinterKeyName,
                           const char* szValueName, char* pField, std::uint32_t* pnSize);
int ReadSharePointRegistryValue(std::int32_t nJobNumber, const char* szPrinterKeyName,
                                const char* szValueName, char* pField, std::uint32_t* pnSize);

void DeleteSaveAsOptionSettingsRegistryKey(const char* szPrinterKeyName, std::int32_t nJobNumber);

// The clean-up of an aborted job: its status and job key, forwarding key 0, then the pages
// from 1 on with their files, up to the first page whose key or file name is missing.
void DeleteAbortedJobRegistryKeys(const char* szPrinterKeyName, std::int32_t nJobNumber);
