// The shell's execute request as the platform answers it: registered file types and their
// verbs, programs, missing files, types without an association.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract_support.h"
#include "win/file.h"
#include "win/process.h"
#include "win/registry.h"
#include "win/shell.h"
#include "win/time.h"
#if JH_SIM
#include "win/sim/machine.h"
#include "win/sim/shell_requests.h"
#endif

namespace {

using win::shell::execute;
using win::shell::succeeded;
namespace result = win::shell::result;
constexpr int kHide = win::process::show::hide;

constexpr const char* kHostname = "C:\\windows\\system32\\hostname.exe";
void WriteFile(const char* path) {
    win::file::UniqueFile file(win::file::create(path, win::file::access::genericWrite, 0,
                                                 win::file::disposition::createAlways,
                                                 win::file::attributeNormal));
    ASSERT_TRUE(file) << path;
}

class ShellContract : public contract::FileTest {
  protected:
    void SetUp() override {
        contract::FileTest::SetUp();
#if JH_SIM
        win::sim::fileWrite(kHostname, "MZ");
        win::sim::shellSetType(".jhcopen", {{ "open", 42 }});
        win::sim::shellSetType(".jhcedit", {{ "edit", 42 }});
#else
        RegisterType(".jhcopen", "JhContract.OpenFile", "open");
        RegisterType(".jhcedit", "JhContract.EditFile", "edit");
#endif
        openFile_ = tempPath("a.jhcopen");
        editFile_ = tempPath("a.jhcedit");
        plainFile_ = tempPath("a.jhcnone");
        for (const std::string& path : {openFile_, editFile_, plainFile_}) WriteFile(path.c_str());
    }
    void TearDown() override {
        for (const std::string& key : registered_)
            EXPECT_TRUE(contract::deleteTree(win::reg::classesRoot, key)) << key;
        contract::FileTest::TearDown();
    }

    // HKEY_CLASSES_ROOT itself: the platform's shell here does not look in the user's classes.
    void RegisterType(const std::string& extension, const std::string& type,
                      const std::string& verb) {
        SetDefault(extension, type);
        SetDefault(type + "\\shell\\" + verb + "\\command", std::string(kHostname) + " \"%1\"");
        registered_.push_back(extension);
        registered_.push_back(type);
    }

    void SetDefault(const std::string& path, const std::string& value) {
        win::reg::UniqueKey key;
        ASSERT_EQ(win::reg::createKey(win::reg::classesRoot, path.c_str(), win::reg::access::write,
                                      key.put(), nullptr),
                  0);
        ASSERT_EQ(win::reg::setValue(key.get(), "", win::reg::type::sz, value.c_str(),
                                     win::Dword(value.size() + 1)),
                  0);
    }

    std::string openFile_, editFile_, plainFile_;
    std::vector<std::string> registered_;
};

TEST_F(ShellContract, RegisteredVerbsSucceedAndOthersHaveNoAssociation) {
    EXPECT_TRUE(succeeded(execute("open", openFile_.c_str(), nullptr, nullptr, kHide)));
    EXPECT_EQ(execute("edit", openFile_.c_str(), nullptr, nullptr, kHide), result::noAssociation);
}

TEST_F(ShellContract, TypeWithOnlyAnEditVerbAnswersNoAssociationToOpen) {
    EXPECT_EQ(execute("open", editFile_.c_str(), nullptr, nullptr, kHide), result::noAssociation);
    EXPECT_TRUE(succeeded(execute("edit", editFile_.c_str(), nullptr, nullptr, kHide)));
}

TEST_F(ShellContract, UnknownTypesHaveNoAssociation) {
    EXPECT_EQ(execute("open", plainFile_.c_str(), nullptr, nullptr, kHide), result::noAssociation);
}

TEST_F(ShellContract, ProgramsOpenWithTheirParameters) {
    EXPECT_TRUE(succeeded(execute("open", kHostname, "\"SOFTWARE\\Key\\17\"", nullptr, kHide)));
    EXPECT_TRUE(succeeded(execute(nullptr, kHostname, nullptr, nullptr, kHide)));
}

TEST_F(ShellContract, MissingFilesAndFoldersAreNotFound) {
    struct Case {
        const char* file;
        win::Long error;
    };
    for (const Case& c : {Case{"C:\\windows\\JhContract_missing.jhcopen", win::err::fileNotFound},
                          Case{"C:\\windows\\JhContract_missing.exe", win::err::fileNotFound},
                          Case{"C:\\JhContract_nothere\\x.jhcopen", win::err::pathNotFound},
                          Case{"C:\\JhContract_nothere\\x.exe", win::err::pathNotFound}}) {
        win::setLastError(0);
        EXPECT_EQ(execute("open", c.file, "a", nullptr, kHide), result::fileNotFound) << c.file;
        EXPECT_EQ(win::getLastError(), win::Dword(c.error)) << c.file;
    }
}

TEST_F(ShellContract, NoFileIsRefused) {
    EXPECT_EQ(execute("open", "", nullptr, nullptr, kHide), result::badFormat);
    EXPECT_EQ(execute("open", nullptr, nullptr, nullptr, kHide), result::badFormat);
}

}  // namespace
