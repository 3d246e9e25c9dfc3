// The forwarding keys: the job's redirect entry (key 0) and the page entries.
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "jobhost/monitor/job_registry.h"
#include "monitor_fixture.h"
#include "win/memory.h"

namespace monitor_test {
namespace {

class EndDocTest : public MonitorTest {
  protected:
    void SetUp() override {
        MonitorTest::SetUp();
        lastPage = 99;
        std::strcpy(documentName, "old name");
        std::strcpy(settingsPath, "old path");
    }
    int Read() {
        return ReadEndDocFromRegistryKey(kPrinter, kJob, &lastPage, documentName, settingsPath);
    }
    void WriteKey0(const std::string& ready) {
        win::sim::regSetString(kUser, ForwardingKey(0), "Ready", ready);
        win::sim::regSetDword(kUser, ForwardingKey(0), "PAGENUMBER", 3);
        win::sim::regSetString(kUser, ForwardingKey(0), "DOCUMENT NAME", "Invoice 42");
        win::sim::regSetString(kUser, ForwardingKey(0), "REDIRECT INFO REGISTRY PATH",
                               kSettingsRelative);
    }

    std::uint32_t lastPage;
    char documentName[260];
    char settingsPath[260];
};

TEST_F(EndDocTest, EachStateLiteralAndWhatItFills) {
    const struct {
        std::string ready;
        int expected;
        bool fills;
        std::uint32_t lastPage;
    } cases[] = {
        {"YES", RET_REDIRECT_PRINTING_FINISHED, true, 3},
        {"Printing", RET_REDIRECT_PRINTING_PRINTING, true, 99},
        {"No Redirect", RET_REDIRECT_PRINTING_DISABLED, false, 99},
        {"yes", 0, true, 99},
        {"YES ", 0, true, 99},
        {"printing", 0, true, 99},
        {"Printing.", 0, true, 99},
        {"No redirect", 0, true, 99},
        {"No Redirect ", 0, true, 99},
        {"Abort", 0, true, 99},
        {"", 0, true, 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Ready \"" + c.ready + "\"");
        SetUp();
        WriteKey0(c.ready);
        EXPECT_EQ(Read(), c.expected);
        EXPECT_EQ(lastPage, c.lastPage);
        if (c.fills) {
            EXPECT_STREQ(documentName, "Invoice 42");
            EXPECT_EQ(std::string(settingsPath), kSettingsKey);
        } else {
            EXPECT_STREQ(documentName, "old name");
            EXPECT_STREQ(settingsPath, "old path");
        }
    }
}

TEST_F(EndDocTest, MissingValuesLeaveTheirFieldsAsTheyWere) {
    win::sim::regSetString(kUser, ForwardingKey(0), "Ready", "YES");
    EXPECT_EQ(Read(), RET_REDIRECT_PRINTING_FINISHED);
    EXPECT_EQ(lastPage, 99u);
    EXPECT_STREQ(documentName, "old name");
    EXPECT_STREQ(settingsPath, "old path");
}

TEST_F(EndDocTest, ValuesTooLargeForTheirFieldsCountAsMissing) {
    WriteKey0("Printing");
    win::sim::regSetString(kUser, ForwardingKey(0), "DOCUMENT NAME", std::string(260, 'd'), false);
    // 259 characters fit their own field but not behind the company key.
    win::sim::regSetString(kUser, ForwardingKey(0), "REDIRECT INFO REGISTRY PATH",
                           std::string(259, 'p'));
    EXPECT_EQ(Read(), RET_REDIRECT_PRINTING_PRINTING);
    EXPECT_STREQ(documentName, "old name");
    EXPECT_STREQ(settingsPath, "old path");

    // The longest relative path that still fits: 31 characters of company key, 228 of path.
    win::sim::regSetString(kUser, ForwardingKey(0), "REDIRECT INFO REGISTRY PATH",
                           std::string(228, 'p'));
    EXPECT_EQ(Read(), RET_REDIRECT_PRINTING_PRINTING);
    EXPECT_EQ(std::string(settingsPath),
              "SOFTWARE\\Korvanex Software LLC\\" + std::string(228, 'p'));
}

TEST_F(EndDocTest, NothingToReadGivesZero) {
    EXPECT_EQ(Read(), 0) << "no key";
    win::sim::regCreateKey(kUser, ForwardingKey(0));
    EXPECT_EQ(Read(), 0) << "no Ready";
    WriteKey0("YES");
    EXPECT_EQ(ReadEndDocFromRegistryKey(kPrinter, kJob, nullptr, documentName, settingsPath), 0);
    EXPECT_STREQ(documentName, "old name");
}

class PageKeyTest : public MonitorTest {
  protected:
    void TearDown() override {
        if (settings) win::mem::heapFree(settings);
        MonitorTest::TearDown();
    }
    void WritePage(int page, const std::string& devMode) {
        win::sim::regSetString(kUser, ForwardingKey(page), "Forwarding", "C:\\Temp\\page.emf");
        win::sim::regSetDword(kUser, ForwardingKey(page), "Size", 1234);
        win::sim::regSetDword(kUser, ForwardingKey(page), "DevModeSize",
                              win::Dword(devMode.size()));
        win::sim::regSetBinary(kUser, ForwardingKey(page), "DevMode", devMode);
        win::sim::regSetString(kUser, ForwardingKey(page), "Ready", "YES");
    }
    int Read(int page) {
        if (settings) win::mem::heapFree(settings);
        settings = nullptr;
        return RedirectPrinting_ReadRegistryKey(kPrinter, kJob, page, fileName, sizeof fileName,
                                                &fileSize, &settings, &settingsSize);
    }
    std::vector<std::string> HeapBlocks() {
        std::vector<std::string> blocks;
        for (const std::string& line : win::sim::describeOpenResources())
            if (line.rfind("heap block", 0) == 0) blocks.push_back(line);
        return blocks;
    }

    char fileName[260] = "unchanged";
    std::uint32_t fileSize = 0;
    void* settings = nullptr;
    std::uint32_t settingsSize = 0;
};

TEST_F(PageKeyTest, SettingsBlockHasRoomForFourTimesTheRecord) {
    std::string devMode;
    for (int i = 0; i < 100; ++i) devMode.push_back(char('A' + i % 26));
    WritePage(1, devMode);
    ASSERT_EQ(Read(1), RET_PAGE_READY);
    EXPECT_STREQ(fileName, "C:\\Temp\\page.emf");
    EXPECT_EQ(fileSize, 1234u);
    EXPECT_EQ(settingsSize, 100u);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(HeapBlocks(), std::vector<std::string>{"heap block of 400 bytes"});
    const char* block = static_cast<const char*>(settings);
    EXPECT_EQ(std::string(block, 100), devMode);
    EXPECT_EQ(std::string(block + 100, 300), std::string(300, '\0'));
}

TEST_F(PageKeyTest, ImpossibleRecordSizesAreRefusedWithoutABlock) {
    const std::uint32_t sizes[] = {0, kMaxSettingsRecordSize + 1, 0x40000000u, 0x40000001u,
                                   std::numeric_limits<std::uint32_t>::max()};
    WritePage(1, std::string(64, 'r'));
    for (std::uint32_t size : sizes) {
        SCOPED_TRACE(size);
        win::sim::regSetDword(kUser, ForwardingKey(1), "DevModeSize", size);
        settingsSize = 77;
        EXPECT_EQ(Read(1), RET_PAGE_READY);
        EXPECT_EQ(settings, nullptr);
        EXPECT_EQ(settingsSize, 0u);
        EXPECT_STREQ(fileName, "C:\\Temp\\page.emf");
    }
}

TEST_F(PageKeyTest, TheDriversRecordSizeAndTheCapAreAccepted) {
    WritePage(1, std::string(6879, 'r'));
    ASSERT_EQ(Read(1), RET_PAGE_READY);
    EXPECT_EQ(settingsSize, 6879u);
    EXPECT_EQ(HeapBlocks(), std::vector<std::string>{"heap block of 27516 bytes"});

    WritePage(2, std::string(kMaxSettingsRecordSize, 'r'));
    ASSERT_EQ(Read(2), RET_PAGE_READY);
    EXPECT_EQ(settingsSize, kMaxSettingsRecordSize);
    EXPECT_NE(settings, nullptr);
}

TEST_F(PageKeyTest, AReadyPageStopsAtItsFirstMissingValue) {
    win::sim::regSetString(kUser, ForwardingKey(1), "Ready", "YES");
    EXPECT_EQ(Read(1), RET_PAGE_READY) << "no Forwarding";
    EXPECT_STREQ(fileName, "unchanged");
    win::sim::regSetString(kUser, ForwardingKey(1), "Forwarding", "C:\\Temp\\p1.emf");
    EXPECT_EQ(Read(1), RET_PAGE_READY) << "no Size";
    EXPECT_STREQ(fileName, "C:\\Temp\\p1.emf");
    win::sim::regSetDword(kUser, ForwardingKey(1), "Size", 10);
    EXPECT_EQ(Read(1), RET_PAGE_READY) << "no DevModeSize";
    EXPECT_EQ(settings, nullptr);
    win::sim::regSetDword(kUser, ForwardingKey(1), "DevModeSize", 16);
    EXPECT_EQ(Read(1), 0) << "no DevMode";
    EXPECT_NE(settings, nullptr) << "the block is the caller's even then";
    win::sim::regSetBinary(kUser, ForwardingKey(1), "DevMode", std::string(17, 'x'));
    EXPECT_EQ(Read(1), 0) << "DevMode larger than DevModeSize";
    EXPECT_NE(settings, nullptr);
}

TEST_F(PageKeyTest, ABlockThatCannotBeHadGivesZero) {
    WritePage(1, std::string(100, 'r'));
    win::sim::failCall("HeapAlloc", win::err::notEnoughMemory);
    EXPECT_EQ(Read(1), 0);
    EXPECT_EQ(settings, nullptr);
}

TEST_F(PageKeyTest, ReadyLiteralsOfAPage) {
    const struct {
        std::string ready;
        int expected;
    } cases[] = {{"YES", RET_PAGE_READY},
                 {"Abort", RET_PAGE_ABORT},
                 {"yes", 0},
                 {"abort", 0},
                 {"Aborted", 0},
                 {"Printing", 0}};
    WritePage(1, std::string(8, 'r'));
    for (const auto& c : cases) {
        SCOPED_TRACE("Ready \"" + c.ready + "\"");
        win::sim::regSetString(kUser, ForwardingKey(1), "Ready", c.ready);
        EXPECT_EQ(Read(1), c.expected);
    }
    EXPECT_EQ(Read(2), 0) << "no key";
    EXPECT_EQ(RedirectPrinting_ReadRegistryKey(kPrinter, kJob, 1, nullptr, 0, &fileSize, &settings,
                                               &settingsSize),
              0);
}

TEST_F(PageKeyTest, FileNameIsReadWhateverReadySays) {
    win::sim::regSetString(kUser, ForwardingKey(4), "Forwarding", "C:\\Temp\\p4.emf");
    char name[260] = {};
    EXPECT_EQ(RedirectPrinting_ReadFileNameRegistryKey(kPrinter, kJob, 4, name), 1);
    EXPECT_STREQ(name, "C:\\Temp\\p4.emf");
    EXPECT_EQ(RedirectPrinting_ReadFileNameRegistryKey(kPrinter, kJob, 5, name), 0);
    win::sim::regCreateKey(kUser, ForwardingKey(5));
    EXPECT_EQ(RedirectPrinting_ReadFileNameRegistryKey(kPrinter, kJob, 5, name), 0);
}

TEST_F(MonitorTest, CopiesAreReadFromKeyZero) {
    std::uint32_t copies = 1;
    EXPECT_EQ(RedirectPrinting_ReadNumberOfCopies(kPrinter, kJob, &copies), 1) << "no key 0";
    EXPECT_EQ(copies, 1u);
    win::sim::regCreateKey(kUser, ForwardingKey(0));
    EXPECT_EQ(RedirectPrinting_ReadNumberOfCopies(kPrinter, kJob, &copies), 0) << "no value";
    EXPECT_EQ(copies, 1u);
    win::sim::regSetDword(kUser, ForwardingKey(0), "Number of copies", 3);
    EXPECT_EQ(RedirectPrinting_ReadNumberOfCopies(kPrinter, kJob, &copies), 1);
    EXPECT_EQ(copies, 3u);
}

TEST_F(MonitorTest, BatesNumbersAreReadFromKeyZero) {
    std::int32_t current = -5, start = -5;
    EXPECT_EQ(RedirectPrinting_ReadBatesNumbers(kPrinter, kJob, &current, &start), 1) << "no key 0";
    EXPECT_EQ(current, -5);
    EXPECT_EQ(start, -5);
    win::sim::regSetDword(kUser, ForwardingKey(0), "Bates start number", 42);
    EXPECT_EQ(RedirectPrinting_ReadBatesNumbers(kPrinter, kJob, &current, &start), 0);
    EXPECT_EQ(start, 42);
    EXPECT_EQ(current, -5);
    win::sim::regSetDword(kUser, ForwardingKey(0), "Current Bates number", 2);
    EXPECT_EQ(RedirectPrinting_ReadBatesNumbers(kPrinter, kJob, &current, &start), 1);
    EXPECT_EQ(current, 2);
    EXPECT_EQ(start, 42);
}

TEST_F(MonitorTest, DeletingAPageKeyTouchesNoOtherPage) {
    win::sim::regCreateKey(kUser, ForwardingKey(1));
    win::sim::regCreateKey(kUser, ForwardingKey(10));
    RedirectPrinting_DeleteRegistryKey(kPrinter, kJob, 1);
    EXPECT_FALSE(win::sim::regKeyExists(kUser, ForwardingKey(1)));
    EXPECT_TRUE(win::sim::regKeyExists(kUser, ForwardingKey(10)));
}

}  // namespace
}  // namespace monitor_test
