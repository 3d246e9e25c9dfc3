// Shared by the contract tests: a fresh simulated machine per test and the check that the test
// released everything, names unique to the running test, and the clean-up of what a test made
// on a real machine, so that the suite can run again in the same place.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/environment.h"
#include "win/file.h"
#include "win/registry.h"
#if JH_SIM
#include "win/sim/machine.h"
#endif

namespace contract {

#if JH_SIM
inline constexpr bool onSim = true;
#else
inline constexpr bool onSim = false;
#endif

inline std::string currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "none";
    for (char& c : name)
        if (c == '/') c = '_';  // parameterised tests
    return name;
}

// Wine keeps its own settings under HKEY_LOCAL_MACHINE\Software\Wine; Windows has no such key.
inline bool onWine() {
    if (onSim) return false;
    win::reg::UniqueKey key;
    return win::reg::openKey(win::reg::localMachine, "Software\\Wine", win::reg::access::read,
                             key.put()) == win::err::success;
}

// The view that a call without a view flag sees: the simulated machine runs the shipping
// 32-bit program; a real build sees the view of its own width.
inline win::Dword defaultView() {
    if (onSim) return win::reg::access::wow64_32;
    return sizeof(void*) == 8 ? win::reg::access::wow64_64 : win::reg::access::wow64_32;
}

// Deletes a key and everything below it through the seam; true when it is gone.
inline bool deleteTree(win::reg::Key parent, const std::u16string& path, win::Dword view = 0) {
    using namespace win::reg;
    {
        UniqueKey key;
        win::Long opened = openKey(parent, path.c_str(), access::read | view, key.put());
        if (opened == win::err::fileNotFound) return true;
        if (opened != win::err::success) return false;
        std::vector<std::u16string> children;
        std::vector<char16_t> name(32768);  // longer than any key name the platform keeps
        for (win::Dword index = 0;; ++index) {
            win::Dword chars = win::Dword(name.size());
            if (enumKey(key.get(), index, name.data(), &chars) != win::err::success) break;
            children.emplace_back(name.data(), chars);
        }
        for (const std::u16string& child : children) deleteTree(key.get(), child, view);
    }
    return deleteKey(parent, path.c_str(), view) == win::err::success;
}

inline bool deleteTree(win::reg::Key parent, const std::string& path, win::Dword view = 0) {
    return deleteTree(parent, std::u16string(path.begin(), path.end()), view);
}

// Every test starts on a fresh simulated machine and must leave nothing open on it.
class Test : public ::testing::Test {
  protected:
    void SetUp() override {
#if JH_SIM
        win::sim::reset();
#endif
    }
    void TearDown() override {
#if JH_SIM
        EXPECT_EQ(win::sim::openResources().total(), 0u)
            << ::testing::PrintToString(win::sim::describeOpenResources());
#endif
    }
};

// A key of the test's own under HKEY_CURRENT_USER\Software\JhContract, open with all access.
class RegistryTest : public Test {
  protected:
    static constexpr const char* kParent = "Software\\JhContract";

    void SetUp() override {
        Test::SetUp();
        path_ = std::string(kParent) + "\\" + currentTestName();
        ASSERT_TRUE(deleteTree(win::reg::currentUser, path_)) << "left from an earlier run";
        ASSERT_EQ(win::reg::createKey(win::reg::currentUser, path_.c_str(),
                                      win::reg::access::allAccess, base_.put(), nullptr),
                  win::err::success);
    }
    void TearDown() override {
        base_.reset();
        EXPECT_TRUE(deleteTree(win::reg::currentUser, path_));
        win::reg::deleteKey(win::reg::currentUser, kParent);  // fails while others are there
        Test::TearDown();
    }

    win::reg::Key base() const { return base_.get(); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    win::reg::UniqueKey base_;
};

// The temporary folder as the environment names it.
inline std::string tempFolder() {
    char buffer[520];
    win::Dword length = win::env::getVariable("TEMP", buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return {};
    return std::string(buffer, length);
}

// Files of the test's own in the temporary folder, removed before and after the test.
class FileTest : public Test {
  protected:
    void SetUp() override {
        Test::SetUp();
        folder_ = tempFolder();
        ASSERT_FALSE(folder_.empty()) << "no TEMP folder";
        ASSERT_NE(win::file::getAttributes(folder_.c_str()) & win::file::attributeDirectory, 0u);
    }
    void TearDown() override {
        for (const std::string& file : made_) win::file::remove(file.c_str());
        Test::TearDown();
    }

    // A path unique to this test; a file left there by an earlier run is removed first.
    std::string tempPath(const std::string& suffix) {
        std::string path = folder_ + "\\JhContract_" + currentTestName() + "_" + suffix;
        win::file::remove(path.c_str());
        made_.push_back(path);
        return path;
    }

    const std::string& folder() const { return folder_; }

  private:
    std::string folder_;
    std::vector<std::string> made_;
};

}  // namespace contract
