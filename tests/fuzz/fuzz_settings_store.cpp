// Whatever the driver's user interface, or anyone else, may have left in a printer's profile:
// values of any type and size under the names the settings store reads, then every reader of
// the store that jobhost calls, each also with buffers too small, odd or missing. Nothing may
// be left open.
//
// An input is [record switches][fault][fault skip] and then records of [slot][type and
// repeat][length][bytes]: the value is the bytes repeated, so that a short input can make a
// value larger than any buffer of the store.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "jobhost/settings/first_image.h"
#include "jobhost/settings/option_sets.h"
#include "jobhost/settings/option_tables.h"
#include "jobhost/settings/settings_bits.h"
#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/store_text.h"
#include "jobhost/settings/store_values.h"
#include "jobhost/settings/ui_tabs.h"
#include "win/sim/machine.h"
#include "win/types.h"

namespace {

constexpr std::uint32_t kPrinterId = 5;
constexpr std::int32_t kJob = 7;
constexpr char16_t kSid[] = u"S-1-5-21-1-2-3-1001";
constexpr char16_t kIniFile[] = u"C:\\Temp\\tabs.ini";

const std::string kRoot = "SOFTWARE\\Korvanex Software LLC";
const std::string kPrinter = kRoot + "\\P";
const std::string kProtectedPrinter =
    "Software\\Microsoft\\Internet Explorer\\InternetRegistry\\REGISTRY\\USER\\"
    "S-1-5-21-1-2-3-1001\\" +
    kRoot + "\\P";
const std::string kJobSet = "\\Save As Option Settings\\7";

struct Slot {
    std::string key;  // empty: the INI file that the UI tab reader falls back on
    const char* name;
};

const Slot kSlots[] = {
    {kRoot + "\\PrinterIDs\\5", "Printer name"},
    {kPrinter + "\\Watermark", "First Image Portrait"},
    {kPrinter + "\\Watermark", "First Image Landscape"},
    {kPrinter + "\\Watermark", "First Image Portrait Brightness"},
    {kPrinter + "\\Watermark", "First Image Landscape Brightness"},
    {kPrinter + "\\Watermark", "First Image Portrait Position"},
    {kPrinter + "\\Watermark", "First Image Landscape Position"},
    {kPrinter + kJobSet, "Print Watermark"},
    {kPrinter + kJobSet, "Watermark First Image enabled"},
    {kPrinter + kJobSet, "Watermark Portrait Image"},
    {kPrinter + kJobSet, "Watermark Portrait First Image"},
    {kPrinter + kJobSet, "Printer 1"},
    {kProtectedPrinter + kJobSet, "Print Watermark"},
    {kProtectedPrinter + kJobSet, "Watermark Portrait Image"},
    {kPrinter + "\\UI Tabs Settings", "Display Watermark Tab"},
    {kPrinter + "\\UI Tabs Settings", "Display Bates Tab"},
    {kPrinter + "\\Pdf Settings", "Document User Password"},
    {kPrinter + "\\Post Print Settings\\Email Settings", "SMTP Password"},
    {kPrinter + "\\Post Print Settings\\SharePoint Settings", "SharePoint Pass"},
    {kPrinter + "\\BatesNumbering", "Number of Formats"},
    {kPrinter + "\\BatesNumbering\\1", "Name"},
    {kPrinter + "\\BatesNumbering\\1", "Font Facename"},
    {"", "tabs.ini"},
};

// Calls that can be made to fail once, after a number of calls that succeed.
const char* const kFaultCalls[] = {"RegOpenKeyEx", "RegQueryValueEx", "GetPrivateProfileInt"};
constexpr win::Dword kFaultErrors[] = {win::err::fileNotFound, win::err::accessDenied,
                                       win::err::moreData};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// The record of a job of printer P; the switches choose where its store lives and what of it
// can be found.
DriverSettings MakeRecord(std::uint8_t switches) {
    DriverSettings settings{};
    SetDmDeviceName(&settings, switches & 0x10 ? u"" : u"P");
    SetPrinterId(&settings, kPrinterId);
    if (switches & 0x01) SetSettingsBit(&settings, kStoreProtectedMode);
    if (switches & 0x02) SetSettingsBit(&settings, kFlagJobOptionSet);
    // A SID that is none, with a path in it.
    SetUserSid(&settings, switches & 0x04 ? u"S-1-5\\..\\..\\SOFTWARE" : kSid);
    if (switches & 0x08) SetINIFileName(&settings, kIniFile);
    return settings;
}

// Twice as many values as there are slots: enough to store one over another, few enough that a
// long input does not spend its run in the registry's writer.
constexpr std::size_t kMaxValues = 2 * (sizeof kSlots / sizeof kSlots[0]);

void LayValues(const std::uint8_t* data, std::size_t size) {
    std::size_t nValues = 0;
    for (std::size_t at = 0; at + 3 <= size && nValues++ < kMaxValues;) {
        const Slot& slot = kSlots[data[at] % (sizeof kSlots / sizeof kSlots[0])];
        win::Dword type = (data[at + 1] & 0x0F) % 12;
        std::size_t repeat = 1 + (data[at + 1] >> 4);
        std::size_t length = data[at + 2];
        at += 3;
        if (length > size - at) length = size - at;
        std::string bytes;
        for (std::size_t i = 0; i < repeat; ++i)
            bytes.append(reinterpret_cast<const char*>(data + at), length);
        at += length;
        if (slot.key.empty())
            win::sim::fileWrite("C:\\Temp\\tabs.ini", bytes);
        else
            win::sim::regSetRaw(win::reg::currentUser, slot.key, slot.name, type, bytes);
    }
}

// Buffer sizes in bytes that the readers are tried with: the store's own, one above it, small,
// odd and none. A few dozen reads a run keep a bounded run short.
constexpr std::uint32_t kNameSizes[] = {520, 9, 2, 1, 0};
constexpr std::uint32_t kValueSizes[] = {600, 520, 9, 0};
constexpr std::uint32_t kTextSizes[] = {520, 9, 0};

// A reader's result with a buffer: on success the size read fits the buffer; on failure the
// size is either as given or the larger size that is needed.
void CheckSized(int nResult, std::uint32_t nGiven, std::uint32_t nSize, bool bBuffer) {
    if (nResult)
        Check(nSize <= nGiven);
    else if (bBuffer && nSize != nGiven)
        Check(nSize > nGiven);
}

// A caller's buffer of exactly the bytes it says it has, odd sizes included, so that a
// reader's write past them is caught.
class Buffer {
  public:
    explicit Buffer(std::uint32_t nBytes) : bytes_(nBytes, 0x23) {}
    void* get() { return bytes_.empty() ? nullptr : bytes_.data(); }
    char16_t* text() { return static_cast<char16_t*>(get()); }
    std::uint32_t size() const { return std::uint32_t(bytes_.size()); }
    // The UTF-16 unit that begins at the byte offset.
    char16_t UnitAt(std::size_t nOffset) const {
        char16_t c;
        std::memcpy(&c, bytes_.data() + nOffset, sizeof c);
        return c;
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

// A text reader's buffer ends in a terminator right after the text it reports.
void CheckText(int nResult, const Buffer& buffer, std::uint32_t nSize) {
    if (!nResult) return;
    Check(nSize % 2 == 0 && nSize + 2 <= buffer.size() && buffer.UnitAt(nSize) == 0);
}

void ReadPrinterStoreName(const DriverSettings* p) {
    for (std::uint32_t nBytes : kNameSizes) {
        Buffer buffer(nBytes);
        GetPrinterStoreName(p, buffer.text(), nBytes);
        if (nBytes < 2) continue;
        bool bTerminated = false;
        for (std::size_t i = 0; i + 2 <= nBytes; i += 2)
            bTerminated = bTerminated || buffer.UnitAt(i) == 0;
        Check(bTerminated);
    }
    GetPrinterStoreName(nullptr, nullptr, 520);
}

void ReadRawValues(const DriverSettings* p) {
    const char16_t* kTemplate = u"%s\\Watermark";
    for (std::uint32_t nBytes : kValueSizes) {
        Buffer buffer(nBytes);
        std::uint32_t nSize = nBytes;
        int nResult =
            ReadStoreValue(p, kStoreRoot, kTemplate, u"First Image Portrait", buffer.get(), &nSize);
        CheckSized(nResult, nBytes, nSize, nBytes != 0);
    }
    // A size without a buffer reads nothing.
    std::uint32_t nAsked = 8;
    Check(!ReadStoreValue(p, kStoreRoot, kTemplate, u"First Image Portrait", nullptr, &nAsked));
    std::uint32_t dwValue = 0xA5A5A5A5;
    if (!ReadStoreDword(p, kStoreRoot, kTemplate, u"First Image Portrait Brightness", &dwValue))
        Check(dwValue == 0xA5A5A5A5);

    std::uint32_t nSize = 4;
    std::uint8_t abValue[4];
    Check(!ReadStoreValue(p, nullptr, kTemplate, u"x", abValue, &nSize));
    Check(!ReadStoreValue(p, kStoreRoot, nullptr, u"x", abValue, &nSize));
    Check(!ReadStoreValue(p, kStoreRoot, kTemplate, nullptr, abValue, &nSize));
    Check(!ReadStoreValue(p, kStoreRoot, kTemplate, u"x", abValue, nullptr));
    Check(!ReadStoreDword(p, kStoreRoot, kTemplate, u"x", nullptr));
}

// The options that have slots, one of each table that has none, an indexed one and numbers
// without a name.
constexpr std::int32_t kNumberOptions[] = {-1, 39, 50, 52, 57};
constexpr std::int32_t kStringOptions[] = {-1, 1, 8, 37, 39, 41};

void ReadJobOptions(const DriverSettings* p) {
    HasJobOptionSet(p);
    Check(!HasJobOptionSet(nullptr));
    for (std::int32_t nOption : kNumberOptions) {
        std::uint32_t dwValue = 0xA5A5A5A5;
        int nResult = ReadJobOptionNumber(p, nOption, kJob, &dwValue);
        if (!nResult) Check(dwValue == 0xA5A5A5A5);
        if (nOption < 0 || nOption > 56) Check(!nResult);
    }
    for (std::int32_t nOption : kStringOptions) {
        Buffer buffer(520);
        std::uint32_t nSize = buffer.size();
        int nResult = ReadJobOptionString(p, nOption, kJob, buffer.get(), &nSize);
        CheckSized(nResult, buffer.size(), nSize, true);
        if (nOption < 0 || nOption > 40) Check(!nResult);
    }
    // The size alone, as a caller asks before it has a buffer.
    std::uint32_t nNeeded = 0;
    if (ReadJobOptionString(p, string_option::kWatermarkPortraitImage, kJob, nullptr, &nNeeded))
        Check(nNeeded == 0);
    Buffer buffer(520);
    std::uint32_t nSize = buffer.size();
    CheckSized(ReadJobOptionIndexedString(p, 13, 1, kJob, buffer.get(), &nSize), buffer.size(),
               nSize, true);
}

void ReadFirstImagePathInto(const DriverSettings* p, std::int32_t nSide, std::uint32_t nBytes) {
    Buffer buffer(nBytes);
    std::uint32_t nSize = nBytes;
    int nResult = ReadFirstImagePath(p, buffer.text(), &nSize, nSide);
    CheckSized(nResult, nBytes, nSize, nBytes != 0);
    CheckText(nResult, buffer, nSize);
}

void ReadFirstImage(const DriverSettings* p) {
    // A buffer larger than the reader's own lets no longer path through.
    ReadFirstImagePathInto(p, kPortraitSide, 600);
    for (std::int32_t nSide : {kPortraitSide, kLandscapeSide, 2}) {
        for (std::uint32_t nBytes : kTextSizes) ReadFirstImagePathInto(p, nSide, nBytes);
        std::uint32_t nBrightness = ReadFirstImageBrightness(p, nSide);
        Check(nBrightness >= 1 && nBrightness <= 100);
        std::uint32_t nPosition = ReadFirstImagePosition(p, nSide);
        Check(nPosition == 1 || nPosition == 2 || nPosition == 4 || nPosition == 8);
    }
}

void ReadUiTabs(const DriverSettings* p) {
    for (std::int32_t nTab : {-1, 0, 3, 5, 8}) {
        int nShown = IsUiTabShown(p, nTab);
        Check(nShown == 0 || nShown == 1);
        if (nTab < 0 || nTab > 7) Check(!nShown);
    }
}

void ReadPasswords(const DriverSettings* p) {
    for (StoreValue value :
         {StoreValue::pdfDocumentUserPassword, StoreValue::pdfDocumentOwnerPassword,
          StoreValue::emailSmtpPassword, StoreValue::sharePointPass}) {
        for (std::uint32_t nBytes : kTextSizes) {
            Buffer buffer(nBytes);
            std::uint32_t nSize = nBytes;
            int nResult = GetStoreText(p, value, buffer.text(), &nSize);
            CheckSized(nResult, nBytes, nSize, nBytes != 0);
            CheckText(nResult, buffer, nSize);
        }
    }
}

// The Bates number formats as the store reads texts: the count in decimal, then the values of
// the first format.
void ReadBatesFormats(const DriverSettings* p) {
    struct BatesValue {
        const char16_t* szKey;
        const char16_t* szName;
    };
    const BatesValue kValues[] = {
        {u"%s\\BatesNumbering", u"Number of Formats"},
        {u"%s\\BatesNumbering\\1", u"Name"},
        {u"%s\\BatesNumbering\\1", u"Font Facename"},
    };
    for (const BatesValue& value : kValues)
        for (std::uint32_t nBytes : {520u, 9u}) {
            Buffer buffer(nBytes);
            std::uint32_t nSize = nBytes;
            int nResult =
                ReadStoreText(p, kStoreRoot, value.szKey, value.szName, buffer.text(), &nSize);
            CheckSized(nResult, nBytes, nSize, nBytes != 0);
            CheckText(nResult, buffer, nSize);
            if (nResult) store_text::ParseDecimal(std::u16string_view(buffer.text(), nSize / 2));
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    win::sim::reset();
    LayValues(data + 3, size - 3);
    DriverSettings settings = MakeRecord(data[0]);
    if (std::uint8_t fault = data[1]; fault % 4 != 0)
        win::sim::failCall(kFaultCalls[fault % 4 - 1], kFaultErrors[(fault >> 2) % 3], 1, data[2]);

    const DriverSettings* p = &settings;
    ReadPrinterStoreName(p);
    ReadRawValues(p);
    ReadJobOptions(p);
    ReadFirstImage(p);
    ReadUiTabs(p);
    ReadPasswords(p);
    ReadBatesFormats(p);

    if (win::sim::openResources().total() != 0) __builtin_trap();
    // What this run made is gone before the next one, or the fuzzer takes it for a leak.
    win::sim::reset();
    return 0;
}
