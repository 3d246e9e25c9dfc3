// The post-print actions on the simulated machine: which shell requests a finished job makes.
#include "jobhost/launch/post_print.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "win/process.h"
#include "win/sim/machine.h"
#include "win/sim/shell_requests.h"

namespace {

using win::reg::currentUser;
using win::sim::ShellRequest;

constexpr const char* kPrinter = "Office Printer";
constexpr int kJob = 17;
constexpr const char* kJobKey = "SOFTWARE\\Korvanex Software LLC\\Office Printer\\17";
constexpr const char* kEmailKey = "SOFTWARE\\Korvanex Software LLC\\Office Printer\\Email_TMP\\17";
constexpr const char* kSharePointKey =
    "SOFTWARE\\Korvanex Software LLC\\Office Printer\\SharePoint_TMP\\17";
constexpr const char* kFolder = "C:\\Users\\user\\Documents\\Out";
constexpr const char* kFile = "C:\\Users\\user\\Documents\\Out\\report.pdf";
constexpr const char* kMailer32 = "C:\\Program Files\\Mailer\\send32.exe";
constexpr const char* kMailer64 = "C:\\Program Files\\Mailer\\send64.exe";
constexpr const char* kUploader = "C:\\Program Files\\Uploader\\upload.exe";
constexpr const char* kEmailParameters =
    "\"SOFTWARE\\Korvanex Software LLC\\Office Printer\\Email_TMP\\17\"";
constexpr const char* kSharePointParameters =
    "\"SOFTWARE\\Korvanex Software LLC\\Office Printer\\SharePoint_TMP\\17\"";

constexpr int kShow = win::process::show::show;
constexpr int kShowNa = win::process::show::showNa;

// One request as the tests compare it.
struct Request {
    std::string verb;
    std::string file;
    std::optional<std::string> parameters;
    int show;

    bool operator==(const Request&) const = default;
};

void PrintTo(const Request& r, std::ostream* out) {
    *out << r.verb << " " << r.file << " [" << r.parameters.value_or("(none)") << "] " << r.show;
}

std::vector<Request> Requests() {
    std::vector<Request> out;
    for (const ShellRequest& r : win::sim::shellRequests()) {
        // The actions never name a working folder.
        EXPECT_FALSE(r.folder.has_value());
        out.push_back(
            {r.verb.value_or("(null)"), r.file.value_or("(null)"), r.parameters, r.showCommand});
    }
    return out;
}

const Request kOpenFolder{"open", kFolder, std::nullopt, kShowNa};
const Request kSendMail{"open", kMailer32, kEmailParameters, kShow};
const Request kOpenFile{"open", kFile, std::nullopt, kShow};
const Request kUpload{"open", kUploader, kSharePointParameters, kShow};

class PostPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        win::sim::reset();
        win::sim::folderCreate(kFolder);
        win::sim::fileWrite(kFile, "%PDF");
        for (const char* program : {kMailer32, kMailer64, kUploader})
            win::sim::fileWrite(program, "MZ");
        win::sim::shellSetType(".pdf", {{"open", 42}});
        win::sim::regSetString(currentUser, kJobKey, "Output folder", kFolder);
        win::sim::regSetString(currentUser, kJobKey, "Output Filename", kFile);
        win::sim::regSetString(currentUser, kEmailKey, "Email sending program 32bit", kMailer32);
        win::sim::regSetString(currentUser, kEmailKey, "Email sending program 64bit", kMailer64);
        win::sim::regSetString(currentUser, kSharePointKey, "SharePoint utility", kUploader);
    }
    void TearDown() override {
        EXPECT_EQ(win::sim::openResources().total(), 0u)
            << ::testing::PrintToString(win::sim::describeOpenResources());
    }

    void UseOutlook64() {
        win::sim::regSetString(currentUser, "Software\\Clients\\Mail", "", "Microsoft Outlook");
        win::sim::regSetString(win::reg::localMachine,
                               "SOFTWARE\\Wow6432Node\\Microsoft\\Office\\14.0\\Outlook", "Bitness",
                               "x64");
    }
};

struct FlagsCase {
    const char* name;
    std::uint32_t flags;
    std::vector<Request> requests;
};

class PostPrintFlagsTest : public PostPrintTest, public ::testing::WithParamInterface<FlagsCase> {};

TEST_P(PostPrintFlagsTest, RunsTheSelectedActionsInOrder) {
    StartPostPrintSteps(kJob, kPrinter, GetParam().flags);
    EXPECT_EQ(Requests(), GetParam().requests);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PostPrintFlagsTest,
    ::testing::Values(FlagsCase{"FolderThenFile", 0x5, {kOpenFolder, kOpenFile}},
                      FlagsCase{"NoMeaningfulBit", 0x10, {}}, FlagsCase{"None", 0x0, {}},
                      FlagsCase{"Folder", 0x1, {kOpenFolder}}, FlagsCase{"Email", 0x2, {kSendMail}},
                      FlagsCase{"File", 0x4, {kOpenFile}}, FlagsCase{"SharePoint", 0x8, {kUpload}},
                      FlagsCase{"AllInOrder", 0xF, {kOpenFolder, kSendMail, kOpenFile, kUpload}},
                      FlagsCase{"OtherBitsIgnored", 0xFFFFFFF2, {kSendMail}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MissingCase {
    const char* name;
    const char* key;
    const char* value;
    std::vector<Request> requests;
};

class MissingValueTest : public PostPrintTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingValueTest, SkipsOnlyItsOwnAction) {
    win::sim::regDeleteValue(currentUser, GetParam().key, GetParam().value);
    StartPostPrintSteps(kJob, kPrinter, 0xF);
    EXPECT_EQ(Requests(), GetParam().requests);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MissingValueTest,
    ::testing::Values(
        MissingCase{"Folder", kJobKey, "Output folder", {kSendMail, kOpenFile, kUpload}},
        MissingCase{
            "Mailer", kEmailKey, "Email sending program 32bit", {kOpenFolder, kOpenFile, kUpload}},
        MissingCase{"File", kJobKey, "Output Filename", {kOpenFolder, kSendMail, kUpload}},
        MissingCase{
            "Uploader", kSharePointKey, "SharePoint utility", {kOpenFolder, kSendMail, kOpenFile}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PostPrintTest, MissingKeysSkipTheirActions) {
    win::sim::regDeleteTree(currentUser, kEmailKey);
    win::sim::regDeleteTree(currentUser, kSharePointKey);
    StartPostPrintSteps(kJob, kPrinter, 0xF);
    EXPECT_EQ(Requests(), (std::vector<Request>{kOpenFolder, kOpenFile}));
    win::sim::regDeleteTree(currentUser, kJobKey);
    StartPostPrintSteps(kJob, kPrinter, 0xF);
    EXPECT_EQ(Requests().size(), 2u);
}

TEST_F(PostPrintTest, FileTypeWithOnlyAnEditProgramIsOpenedForEditing) {
    win::sim::shellSetType(".pdf", {{"edit", 42}});
    StartPostPrintSteps(kJob, kPrinter, 0x4);
    auto requests = win::sim::shellRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].verb, std::optional<std::string>("open"));
    EXPECT_EQ(requests[0].result, 31);
    EXPECT_EQ(Requests()[1], (Request{"edit", kFile, std::nullopt, kShow}));
    EXPECT_EQ(requests[1].result, 42);
}

struct RetryCase {
    const char* name;
    std::intptr_t openResult;  // 0: the type is unknown
    std::size_t requests;
};

class EditRetryTest : public PostPrintTest, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(EditRetryTest, RetriesWithEditOnlyAfterNoAssociation) {
    if (GetParam().openResult)
        win::sim::shellSetType(".pdf", {{"open", GetParam().openResult}, {"edit", 42}});
    else
        win::sim::shellRemoveType(".pdf");
    StartPostPrintSteps(kJob, kPrinter, 0x4);
    auto requests = win::sim::shellRequests();
    ASSERT_EQ(requests.size(), GetParam().requests);
    if (requests.size() == 2) {
        EXPECT_EQ(requests[1].verb, std::optional<std::string>("edit"));
    }
}

INSTANTIATE_TEST_SUITE_P(Results, EditRetryTest,
                         ::testing::Values(RetryCase{"Opened", 42, 1},
                                           RetryCase{"NoAssociation", 31, 2},
                                           RetryCase{"UnknownTypeTriesEditOnce", 0, 2},
                                           RetryCase{"AssociationIncomplete", 27, 1},
                                           RetryCase{"DdeFailure", 29, 1},
                                           RetryCase{"AccessDenied", 5, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PostPrintTest, MissingOutputFileIsNotRetried) {
    win::sim::fileRemove(kFile);
    StartPostPrintSteps(kJob, kPrinter, 0x4);
    auto requests = win::sim::shellRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].result, 2);
}

TEST_F(PostPrintTest, ShellFailuresDoNotStopTheOtherActions) {
    win::sim::failCall("ShellExecute", 29, 2);
    StartPostPrintSteps(kJob, kPrinter, 0xF);
    EXPECT_EQ(Requests(), (std::vector<Request>{kOpenFolder, kSendMail, kOpenFile, kUpload}));
}

TEST_F(PostPrintTest, SixtyFourBitOutlookGetsTheSixtyFourBitProgram) {
    UseOutlook64();
    StartPostPrintSteps(kJob, kPrinter, 0x2);
    EXPECT_EQ(Requests(), (std::vector<Request>{{"open", kMailer64, kEmailParameters, kShow}}));
}

TEST_F(PostPrintTest, SixtyFourBitOutlookWithoutItsProgramSendsNothing) {
    UseOutlook64();
    win::sim::regDeleteValue(currentUser, kEmailKey, "Email sending program 64bit");
    StartPostPrintSteps(kJob, kPrinter, 0x2);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(PostPrintTest, KeyPathsFollowPrinterAndJob) {
    const char* printer = "Sales Desk";
    win::sim::regSetString(currentUser,
                           "SOFTWARE\\Korvanex Software LLC\\Sales Desk\\Email_TMP\\-3",
                           "Email sending program 32bit", kMailer32);
    StartPostPrintSteps(-3, printer, 0x2);
    EXPECT_EQ(Requests(),
              (std::vector<Request>{
                  {"open", kMailer32,
                   "\"SOFTWARE\\Korvanex Software LLC\\Sales Desk\\Email_TMP\\-3\"", kShow}}));
}

TEST_F(PostPrintTest, KeyPathTooLongForItsFieldSkipsOnlyThatAction) {
    // The e-mail key path "SOFTWARE\Korvanex Software LLC\<name>\Email_TMP\17" is then 260
    // characters, one too many for its field.
    std::string printer(260 - 44, 'p');
    std::string base = "SOFTWARE\\Korvanex Software LLC\\" + printer;
    win::sim::regSetString(currentUser, base + "\\17", "Output Filename", kFile);
    win::sim::regSetString(currentUser, base + "\\Email_TMP\\17", "Email sending program 32bit",
                           kMailer32);
    win::sim::regSetString(currentUser, base + "\\SharePoint_TMP\\17", "SharePoint utility",
                           kUploader);
    StartPostPrintSteps(kJob, printer.c_str(), 0xE);
    EXPECT_EQ(Requests(), (std::vector<Request>{kOpenFile}));
}

TEST_F(PostPrintTest, ValuesAreTakenUpToTheirTerminatorWithinTheirField) {
    win::sim::regSetString(currentUser, kJobKey, "Output folder", kFolder, false);
    std::string exact(259, 'f');  // fills the 260-byte field with its terminator
    win::sim::regSetString(currentUser, kJobKey, "Output Filename", exact);
    // 260 bytes without a terminator would need 261 with it: missing.
    win::sim::regSetString(currentUser, kSharePointKey, "SharePoint utility", std::string(260, 'u'),
                           false);
    StartPostPrintSteps(kJob, kPrinter, 0xD);
    EXPECT_EQ(Requests(),
              (std::vector<Request>{kOpenFolder, {"open", exact, std::nullopt, kShow}}));
}

TEST_F(PostPrintTest, ValuesLongerThanTheirFieldAreMissing) {
    win::sim::regSetString(currentUser, kJobKey, "Output Filename", std::string(300, 'f'));
    StartPostPrintSteps(kJob, kPrinter, 0x4);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(PostPrintTest, KeysAreLeftForTheOutsidePrograms) {
    StartPostPrintSteps(kJob, kPrinter, 0xF);
    EXPECT_TRUE(win::sim::regKeyExists(currentUser, kJobKey));
    EXPECT_TRUE(win::sim::regKeyExists(currentUser, kEmailKey));
    EXPECT_TRUE(win::sim::regKeyExists(currentUser, kSharePointKey));
}

TEST_F(PostPrintTest, NoPrinterKeyNameDoesNothing) {
    StartPostPrintSteps(kJob, nullptr, 0xF);
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
