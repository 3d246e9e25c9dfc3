// Files as the platform keeps them: sharing between open handles, the dispositions, reading,
// writing and seeking, sizes and deletion, and the errors each reports.
#include <gtest/gtest.h>

#include <string>

#include "contract_support.h"
#include "win/file.h"

namespace {

namespace file = win::file;
namespace access = win::file::access;
namespace share = win::file::share;
namespace disposition = win::file::disposition;
namespace err = win::err;
using win::Dword;

constexpr Dword kReadWrite = access::genericRead | access::genericWrite;

file::Handle open(const std::string& path, Dword wanted, Dword shareMode, Dword how) {
    return file::create(path.c_str(), wanted, shareMode, how, file::attributeNormal);
}

void writeFile(const std::string& path, const std::string& content) {
    file::UniqueFile out(open(path, access::genericWrite, share::none, disposition::createAlways));
    ASSERT_TRUE(out) << path << ": " << win::getLastError();
    Dword written = 0;
    ASSERT_TRUE(file::write(out.get(), content.data(), Dword(content.size()), &written));
    ASSERT_EQ(written, content.size());
}

std::string readAll(file::Handle handle) {
    std::string content;
    char buffer[7];  // small, so that reading takes several calls
    Dword got = 0;
    while (file::read(handle, buffer, sizeof buffer, &got) && got > 0) content.append(buffer, got);
    return content;
}

std::string readFile(const std::string& path) {
    file::UniqueFile in(open(path, access::genericRead, share::read, disposition::openExisting));
    return in ? readAll(in.get()) : std::string("<cannot open>");
}

using FileContract = contract::FileTest;

TEST_F(FileContract, FileOpenedWithoutSharingCannotBeOpenedAgainUntilClosed) {
    const std::string path = tempPath("redirect.log");
    file::UniqueFile owner(open(path, access::genericWrite, share::none, disposition::openAlways));
    ASSERT_TRUE(owner);

    for (Dword wanted : {access::genericRead, access::genericWrite, kReadWrite}) {
        SCOPED_TRACE(wanted);
        win::setLastError(0);
        file::UniqueFile second(
            open(path, wanted, share::read | share::write, disposition::openAlways));
        EXPECT_FALSE(second);
        EXPECT_EQ(win::getLastError(), Dword(err::sharingViolation));
    }
    owner.reset();
    file::UniqueFile second(open(path, access::genericWrite, share::none, disposition::openAlways));
    EXPECT_TRUE(second);
}

TEST_F(FileContract, SharingModesOfBothOpensMustAgree) {
    struct Case {
        Dword firstAccess, firstShare, secondAccess, secondShare;
        bool allowed;
    };
    const Case cases[] = {
        {access::genericRead, share::read, access::genericRead, share::read, true},
        {access::genericRead, share::read, access::genericWrite, share::read, false},
        {access::genericWrite, share::read, access::genericRead, share::read, false},
        {access::genericWrite, share::read, access::genericRead, share::read | share::write, true},
        {access::genericRead, share::read | share::write, kReadWrite, share::write, false},
        {kReadWrite, share::read | share::write, kReadWrite, share::read | share::write, true},
        {access::genericRead, share::none, access::genericRead, share::read, false},
    };
    const std::string path = tempPath("shared.dat");
    writeFile(path, "x");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.firstAccess << "/" << c.firstShare
                                          << " then " << c.secondAccess << "/" << c.secondShare);
        file::UniqueFile first(open(path, c.firstAccess, c.firstShare, disposition::openExisting));
        ASSERT_TRUE(first);
        win::setLastError(0);
        file::UniqueFile second(
            open(path, c.secondAccess, c.secondShare, disposition::openExisting));
        EXPECT_EQ(bool(second), c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(win::getLastError(), Dword(err::sharingViolation));
        }
    }
}

TEST_F(FileContract, OpenAlwaysKeepsAnExistingFileAndCreatesAMissingOne) {
    const std::string existing = tempPath("existing.log");
    writeFile(existing, "first line\r\n");
    {
        win::setLastError(0);
        file::UniqueFile log(open(existing, kReadWrite, share::none, disposition::openAlways));
        ASSERT_TRUE(log);
        EXPECT_EQ(win::getLastError(), Dword(err::alreadyExists));
        std::int64_t size = -1;
        ASSERT_TRUE(file::getSize(log.get(), &size));
        EXPECT_EQ(size, 12);
        EXPECT_EQ(readAll(log.get()), "first line\r\n");
    }
    const std::string missing = tempPath("missing.log");
    {
        win::setLastError(1234);
        file::UniqueFile log(
            open(missing, access::genericWrite, share::none, disposition::openAlways));
        ASSERT_TRUE(log);
        EXPECT_EQ(win::getLastError(), 0u);
        std::int64_t size = -1;
        ASSERT_TRUE(file::getSize(log.get(), &size));
        EXPECT_EQ(size, 0);
    }
    EXPECT_NE(file::getAttributes(missing.c_str()), file::invalidAttributes);
}

TEST_F(FileContract, DispositionsOnExistingAndMissingFiles) {
    struct Case {
        Dword how;
        bool exists;
        bool opens;
        Dword lastError;
        std::string contentAfter;  // of a file that held "content"
    };
    const Case cases[] = {
        {disposition::createNew, true, false, err::fileExists, "content"},
        {disposition::createNew, false, true, err::success, ""},
        {disposition::createAlways, true, true, err::alreadyExists, ""},
        {disposition::createAlways, false, true, err::success, ""},
        {disposition::openExisting, true, true, err::success, "content"},
        {disposition::openExisting, false, false, err::fileNotFound, ""},
        {disposition::truncateExisting, true, true, err::success, ""},
        {disposition::truncateExisting, false, false, err::fileNotFound, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "disposition " << c.how
                                          << (c.exists ? " on an existing file" : " on none"));
        const std::string path = tempPath("disposition.dat");
        if (c.exists) writeFile(path, "content");
        win::setLastError(1234);
        file::UniqueFile handle(open(path, kReadWrite, share::none, c.how));
        Dword error = win::getLastError();
        EXPECT_EQ(bool(handle), c.opens);
        if (c.lastError != err::success || !c.opens) {
            EXPECT_EQ(error, c.lastError);
        }
        handle.reset();
        bool existsAfter = c.exists || c.opens;
        EXPECT_EQ(file::getAttributes(path.c_str()) != file::invalidAttributes, existsAfter);
        if (existsAfter) {
            EXPECT_EQ(readFile(path), c.contentAfter);
        }
    }
}

TEST_F(FileContract, SeekingToTheEndAppends) {
    const std::string path = tempPath("append.log");
    writeFile(path, "abc");
    {
        file::UniqueFile log(
            open(path, access::genericWrite, share::none, disposition::openAlways));
        ASSERT_TRUE(log);
        std::int64_t position = -1;
        ASSERT_TRUE(file::setPointer(log.get(), 0, file::seek::end, &position));
        EXPECT_EQ(position, 3);
        Dword written = 0;
        ASSERT_TRUE(file::write(log.get(), "defg", 4, &written));
        EXPECT_EQ(written, 4u);
        std::int64_t size = 0;
        ASSERT_TRUE(file::getSize(log.get(), &size));
        EXPECT_EQ(size, 7);
    }
    EXPECT_EQ(readFile(path), "abcdefg");
}

TEST_F(FileContract, SeekMethodsMoveFromTheirOrigin) {
    const std::string path = tempPath("seek.dat");
    writeFile(path, "0123456789");
    file::UniqueFile data(open(path, kReadWrite, share::none, disposition::openExisting));
    ASSERT_TRUE(data);
    std::int64_t position = -1;
    ASSERT_TRUE(file::setPointer(data.get(), 4, file::seek::begin, &position));
    EXPECT_EQ(position, 4);
    ASSERT_TRUE(file::setPointer(data.get(), 2, file::seek::current, nullptr));
    char c = 0;
    Dword got = 0;
    ASSERT_TRUE(file::read(data.get(), &c, 1, &got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(c, '6');
    ASSERT_TRUE(file::setPointer(data.get(), -3, file::seek::end, &position));
    EXPECT_EQ(position, 7);

    // Before the start is refused and leaves the position.
    win::setLastError(0);
    EXPECT_FALSE(file::setPointer(data.get(), -11, file::seek::end, nullptr));
    EXPECT_EQ(win::getLastError(), Dword(err::negativeSeek));
    ASSERT_TRUE(file::setPointer(data.get(), 0, file::seek::current, &position));
    EXPECT_EQ(position, 7);

    // Past the end reads nothing, and writing there fills the gap.
    ASSERT_TRUE(file::setPointer(data.get(), 12, file::seek::begin, nullptr));
    ASSERT_TRUE(file::read(data.get(), &c, 1, &got));
    EXPECT_EQ(got, 0u);
    ASSERT_TRUE(file::write(data.get(), "!", 1, &got));
    std::int64_t size = 0;
    ASSERT_TRUE(file::getSize(data.get(), &size));
    EXPECT_EQ(size, 13);
    data.reset();
    EXPECT_EQ(readFile(path), std::string("0123456789\0\0!", 13));
}

TEST_F(FileContract, HandleRefusesWhatItWasNotOpenedFor) {
    const std::string path = tempPath("rights.dat");
    writeFile(path, "data");
    char buffer[4];
    Dword count = 99;
    {
        file::UniqueFile reader(
            open(path, access::genericRead, share::read, disposition::openExisting));
        ASSERT_TRUE(reader);
        win::setLastError(0);
        EXPECT_FALSE(file::write(reader.get(), "x", 1, &count));
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(win::getLastError(), Dword(err::accessDenied));
    }
    file::UniqueFile writer(
        open(path, access::genericWrite, share::none, disposition::openExisting));
    ASSERT_TRUE(writer);
    count = 99;
    win::setLastError(0);
    EXPECT_FALSE(file::read(writer.get(), buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(win::getLastError(), Dword(err::accessDenied));
}

TEST_F(FileContract, DeleteRemovesAClosedFile) {
    const std::string path = tempPath("page1.emf");
    writeFile(path, "EMF");
    EXPECT_NE(file::getAttributes(path.c_str()), file::invalidAttributes);
    EXPECT_TRUE(file::remove(path.c_str()));
    win::setLastError(0);
    EXPECT_EQ(file::getAttributes(path.c_str()), file::invalidAttributes);
    EXPECT_EQ(win::getLastError(), Dword(err::fileNotFound));

    win::setLastError(0);
    EXPECT_FALSE(file::remove(path.c_str()));
    EXPECT_EQ(win::getLastError(), Dword(err::fileNotFound));
}

TEST_F(FileContract, DeleteOfAnOpenFileNeedsDeleteSharing) {
    const std::string path = tempPath("busy.emf");
    writeFile(path, "EMF");
    {
        file::UniqueFile reader(
            open(path, access::genericRead, share::read, disposition::openExisting));
        ASSERT_TRUE(reader);
        win::setLastError(0);
        EXPECT_FALSE(file::remove(path.c_str()));
        EXPECT_EQ(win::getLastError(), Dword(err::sharingViolation));
    }
    EXPECT_NE(file::getAttributes(path.c_str()), file::invalidAttributes);
    EXPECT_TRUE(file::remove(path.c_str()));
}

TEST_F(FileContract, MissingFolderIsPathNotFound) {
    const std::string path = folder() + "\\JhContract_no_such_folder\\page1.emf";
    win::setLastError(0);
    EXPECT_FALSE(file::UniqueFile(open(path, kReadWrite, share::none, disposition::openAlways)));
    EXPECT_EQ(win::getLastError(), Dword(err::pathNotFound));
    win::setLastError(0);
    EXPECT_EQ(file::getAttributes(path.c_str()), file::invalidAttributes);
    EXPECT_EQ(win::getLastError(), Dword(err::pathNotFound));
    win::setLastError(0);
    EXPECT_FALSE(file::remove(path.c_str()));
    EXPECT_EQ(win::getLastError(), Dword(err::pathNotFound));
}

TEST_F(FileContract, FolderIsADirectoryAndCannotBeOpenedAsAFile) {
    EXPECT_NE(file::getAttributes(folder().c_str()) & file::attributeDirectory, 0u);
    win::setLastError(0);
    EXPECT_FALSE(
        file::UniqueFile(open(folder(), kReadWrite, share::none, disposition::openAlways)));
    EXPECT_EQ(win::getLastError(), Dword(err::accessDenied));
}

TEST_F(FileContract, NamesIgnoreCaseAndBothCallsReachTheSameFile) {
    const std::string path = tempPath("MixedCase.txt");
    std::u16string widePath(path.begin(), path.end());
    {
        file::UniqueFile out(file::create(widePath.c_str(), access::genericWrite, share::none,
                                          disposition::createNew, file::attributeNormal));
        ASSERT_TRUE(out);
        Dword written = 0;
        ASSERT_TRUE(file::write(out.get(), "wide", 4, &written));
    }
    std::string upper = path;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    EXPECT_EQ(readFile(upper), "wide");
    EXPECT_NE(file::getAttributes(widePath.c_str()), file::invalidAttributes);
    EXPECT_TRUE(file::remove(widePath.c_str()));
    EXPECT_EQ(file::getAttributes(path.c_str()), file::invalidAttributes);
}

TEST_F(FileContract, ClosedHandleIsInvalid) {
    const std::string path = tempPath("closed.dat");
    file::Handle handle = open(path, kReadWrite, share::none, disposition::createAlways);
    ASSERT_NE(handle, file::invalid);
    EXPECT_TRUE(file::close(handle));
    win::setLastError(0);
    Dword count = 0;
    EXPECT_FALSE(file::write(handle, "x", 1, &count));
    EXPECT_EQ(win::getLastError(), Dword(err::invalidHandle));
    win::setLastError(0);
    EXPECT_FALSE(file::close(file::invalid));
    EXPECT_EQ(win::getLastError(), Dword(err::invalidHandle));
}

}  // namespace
