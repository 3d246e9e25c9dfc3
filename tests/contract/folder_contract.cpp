// Folders: made one level at a time, removed only when empty.
#include <string>

#include "contract_support.h"
#include "win/file.h"
#include "win/folder.h"

namespace {

class FolderContract : public contract::Test {
  protected:
    void SetUp() override {
        contract::Test::SetUp();
        base_ = contract::tempFolder() + "\\" + contract::currentTestName();
        win::file::remove((base_ + "\\inner\\f.txt").c_str());
        win::folder::remove((base_ + "\\inner").c_str());
        win::folder::remove(base_.c_str());
    }
    void TearDown() override {
        win::file::remove((base_ + "\\inner\\f.txt").c_str());
        win::folder::remove((base_ + "\\inner").c_str());
        win::folder::remove(base_.c_str());
        contract::Test::TearDown();
    }
    std::string base_;
};

TEST_F(FolderContract, CreatesOneLevelAtATime) {
    EXPECT_FALSE(win::folder::create((base_ + "\\inner").c_str()));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::pathNotFound));
    ASSERT_TRUE(win::folder::create(base_.c_str()));
    EXPECT_EQ(win::file::getAttributes(base_.c_str()) & win::file::attributeDirectory,
              win::file::attributeDirectory);
    EXPECT_FALSE(win::folder::create(base_.c_str()));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::alreadyExists));
    EXPECT_TRUE(win::folder::create((base_ + "\\inner").c_str()));
}

TEST_F(FolderContract, RemovesOnlyAnEmptyFolder) {
    ASSERT_TRUE(win::folder::create(base_.c_str()));
    ASSERT_TRUE(win::folder::create((base_ + "\\inner").c_str()));
    std::string file = base_ + "\\inner\\f.txt";
    win::file::UniqueFile handle(win::file::create(file.c_str(), win::file::access::genericWrite, 0,
                                                   win::file::disposition::createNew,
                                                   win::file::attributeNormal));
    ASSERT_TRUE(handle);
    handle.reset();
    EXPECT_FALSE(win::folder::create(file.c_str()));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::alreadyExists));

    EXPECT_FALSE(win::folder::remove((base_ + "\\inner").c_str()));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::dirNotEmpty));
    ASSERT_TRUE(win::file::remove(file.c_str()));
    EXPECT_TRUE(win::folder::remove((base_ + "\\inner").c_str()));
    EXPECT_FALSE(win::folder::remove((base_ + "\\inner").c_str()));
    EXPECT_EQ(win::getLastError(), win::Dword(win::err::fileNotFound));
}

}  // namespace
