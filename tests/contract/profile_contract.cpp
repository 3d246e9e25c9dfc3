// INI files as the platform's private profile calls keep them: the file they write, what they
// read back from files written by hand, lists of names, numbers, and the failures.
#include <gtest/gtest.h>

#include <string>

#include "contract_support.h"
#include "win/file.h"
#include "win/profile.h"

namespace {

using win::Dword;
namespace ini = win::ini;
namespace file = win::file;

std::u16string wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

class ProfileContract : public contract::FileTest {
  protected:
    void SetUp() override {
        contract::FileTest::SetUp();
        path_ = wide(tempPath("profile.ini"));
    }

    const char16_t* path() const { return path_.c_str(); }

    void put(const std::string& bytes) {
        file::UniqueFile out(file::create(path(), file::access::genericWrite, file::share::none,
                                          file::disposition::createAlways, file::attributeNormal));
        ASSERT_TRUE(out);
        Dword written = 0;
        ASSERT_TRUE(file::write(out.get(), bytes.data(), Dword(bytes.size()), &written));
    }

    // The file's bytes; "<missing>" when it does not exist.
    std::string contents() {
        file::UniqueFile in(file::create(path(), file::access::genericRead, file::share::read,
                                         file::disposition::openExisting, file::attributeNormal));
        if (!in) return "<missing>";
        std::string bytes(4096, '\0');
        Dword got = 0;
        EXPECT_TRUE(file::read(in.get(), bytes.data(), Dword(bytes.size()), &got));
        bytes.resize(got);
        return bytes;
    }

    std::u16string read(const char16_t* section, const char16_t* key, Dword sizeChars = 64,
                        const char16_t* fallback = u"DEF", Dword* count = nullptr) {
        char16_t buffer[64];
        for (char16_t& c : buffer) c = u'@';
        Dword copied = ini::readString(section, key, fallback, buffer, sizeChars, path());
        if (count) *count = copied;
        return std::u16string(buffer, buffer + copied);
    }

    // A list of names as the list calls return it, up to and with its two terminators.
    std::u16string readList(const char16_t* section, Dword sizeChars, Dword* count) {
        char16_t buffer[64];
        for (char16_t& c : buffer) c = u'@';
        *count = ini::readString(section, nullptr, u"DEF", buffer, sizeChars, path());
        std::u16string list(buffer, buffer + sizeChars);
        std::size_t end = list.find(std::u16string(2, u'\0'));
        return end == std::u16string::npos ? list : list.substr(0, end + 2);
    }

  private:
    std::u16string path_;
};

TEST_F(ProfileContract, FirstWriteMakesAnEightBitFileOfTrimmedLines) {
    EXPECT_TRUE(ini::writeString(u"Sec A", u"k1", u"v1", path()));
    EXPECT_EQ(contents(), "[Sec A]\r\nk1=v1\r\n");
    EXPECT_TRUE(ini::writeString(u"Sec A", u"k2", u"  spaced  ", path()));
    EXPECT_TRUE(ini::writeString(u"Sec B", u"k1", u"\u00e9t\u00e9", path()));
    EXPECT_TRUE(ini::writeString(u"Sec A", u"empty", u"", path()));
    EXPECT_EQ(contents(), "[Sec A]\r\nk1=v1\r\nk2=spaced\r\nempty=\r\n[Sec B]\r\nk1=\xE9t\xE9\r\n");
    EXPECT_EQ(read(u"Sec B", u"k1"), u"\u00e9t\u00e9");
}

TEST_F(ProfileContract, NamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    ASSERT_TRUE(ini::writeString(u"Sec A", u"Key", u"one", path()));
    ASSERT_TRUE(ini::writeString(u"Sec B", u"x", u"1", path()));
    ASSERT_TRUE(ini::writeString(u"sec a", u"KEY", u"two", path()));
    EXPECT_EQ(contents(), "[Sec A]\r\nKey=two\r\n[Sec B]\r\nx=1\r\n");
    EXPECT_EQ(read(u"SEC A", u"key"), u"two");
    // Blanks around the names do not count either; a new name keeps its trailing ones.
    ASSERT_TRUE(ini::writeString(u" Sec B ", u" x ", u"2", path()));
    ASSERT_TRUE(ini::writeString(u" New ", u" y ", u"3", path()));
    EXPECT_EQ(contents(), "[Sec A]\r\nKey=two\r\n[Sec B]\r\nx=2\r\n[New ]\r\ny =3\r\n");
    EXPECT_EQ(read(u" new", u"y "), u"3");
}

TEST_F(ProfileContract, NullValueRemovesTheKeyAndNullKeyTheSection) {
    ASSERT_TRUE(ini::writeString(u"A", u"a1", u"1", path()));
    ASSERT_TRUE(ini::writeString(u"A", u"a2", u"2", path()));
    ASSERT_TRUE(ini::writeString(u"B", u"b1", u"3", path()));
    EXPECT_TRUE(ini::writeString(u"A", u"a1", nullptr, path()));
    EXPECT_EQ(contents(), "[A]\r\na2=2\r\n[B]\r\nb1=3\r\n");
    EXPECT_TRUE(ini::writeString(u"a", nullptr, nullptr, path()));
    EXPECT_EQ(contents(), "[B]\r\nb1=3\r\n");
    // Nothing to remove: the file is left alone.
    EXPECT_TRUE(ini::writeString(u"B", u"none", nullptr, path()));
    EXPECT_TRUE(ini::writeString(u"None", nullptr, nullptr, path()));
    EXPECT_EQ(contents(), "[B]\r\nb1=3\r\n");
}

TEST_F(ProfileContract, RemovingFromAMissingFileSucceedsWithoutMakingIt) {
    EXPECT_TRUE(ini::writeString(u"A", u"k", nullptr, path()));
    EXPECT_TRUE(ini::writeString(u"A", nullptr, nullptr, path()));
    EXPECT_EQ(contents(), "<missing>");
}

TEST_F(ProfileContract, UnchangedValueLeavesTheFileAsItWas) {
    put("[A]\na=1\n");
    EXPECT_TRUE(ini::writeString(u"A", u"a", u"1", path()));
    EXPECT_EQ(contents(), "[A]\na=1\n");
    // A change rewrites the whole file in the calls' own form.
    EXPECT_TRUE(ini::writeString(u"A", u"b", u"2", path()));
    EXPECT_EQ(contents(), "[A]\r\na=1\r\nb=2\r\n");
}

TEST_F(ProfileContract, HandWrittenFileIsReadTrimmedWithQuotesRemoved) {
    put("top=1\r\n; comment\r\n[ Sec ]\r\n  key  =  value  \r\nnoeq\r\nhalf=\"open\r\n"
        "single='s'\r\nquoted=\"a\" b\"\r\ndup=first\r\ndup=second\r\n\r\n[Other]\n"
        "k=v;not a comment\n=noname\n");
    EXPECT_EQ(read(u"Sec", u"key"), u"value");
    EXPECT_EQ(read(u" Sec ", u"key"), u"value");
    EXPECT_EQ(read(u"Sec", u"noeq"), u"DEF");
    EXPECT_EQ(read(u"Sec", u"half"), u"\"open");
    EXPECT_EQ(read(u"Sec", u"single"), u"s");
    EXPECT_EQ(read(u"Sec", u"quoted"), u"a\" b");
    EXPECT_EQ(read(u"Sec", u"dup"), u"first");
    EXPECT_EQ(read(u"Other", u"k"), u"v;not a comment");
    EXPECT_EQ(read(u"Other", u""), u"noname");
    EXPECT_EQ(read(u"", u"top"), u"1");
    EXPECT_EQ(read(u"Missing", u"key"), u"DEF");

    // A write keeps comments and lines without "=", drops blank lines and trims the rest.
    ASSERT_TRUE(ini::writeString(u"Sec", u"new", u"n", path()));
    EXPECT_EQ(contents(),
              "top=1\r\n; comment\r\n[Sec]\r\nkey=value\r\nnoeq\r\nhalf=\"open\r\n"
              "single='s'\r\nquoted=\"a\" b\"\r\ndup=first\r\ndup=second\r\nnew=n\r\n[Other]\r\n"
              "k=v;not a comment\r\n=noname\r\n");
}

TEST_F(ProfileContract, DefaultIsUsedForMissingFilesAndLosesTrailingBlanks) {
    EXPECT_EQ(read(u"A", u"k", 64, u"  def  "), u"  def");
    EXPECT_EQ(read(u"A", u"k", 64, nullptr), u"");
    EXPECT_EQ(contents(), "<missing>");
}

TEST_F(ProfileContract, ValueIsCutToTheBuffer) {
    ASSERT_TRUE(ini::writeString(u"A", u"k", u"value", path()));
    Dword count = 99;
    EXPECT_EQ(read(u"A", u"k", 3, u"DEF", &count), u"va");
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(read(u"A", u"k", 1, u"DEF", &count), u"");
    EXPECT_EQ(count, 0u);
    char16_t untouched = u'@';
    EXPECT_EQ(ini::readString(u"A", u"k", u"DEF", &untouched, 0, path()), 0u);
    EXPECT_EQ(untouched, u'@');
}

TEST_F(ProfileContract, ListsOfKeysAndSections) {
    put("[A]\r\nabc=1\r\nde=2\r\nnovalue\r\n; c=3\r\nfghij=3\r\n[C]\r\nc=1\r\n[A]\r\nx=2\r\n");
    Dword count = 0;
    EXPECT_EQ(readList(u"A", 64, &count), std::u16string(u"abc\0de\0fghij\0\0", 14));
    EXPECT_EQ(count, 13u);
    // A section name that appears twice is listed twice; its keys are those of the first.
    EXPECT_EQ(readList(nullptr, 64, &count), std::u16string(u"A\0C\0A\0\0", 7));
    EXPECT_EQ(count, 6u);
    // A list that does not fit keeps sizeChars - 2 characters and two terminators.
    EXPECT_EQ(readList(u"A", 5, &count), std::u16string(u"abc\0\0", 5));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(readList(u"A", 7, &count), std::u16string(u"abc\0d\0\0", 7));
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(readList(nullptr, 5, &count), std::u16string(u"A\0C\0\0", 5));
    EXPECT_EQ(count, 3u);
}

TEST_F(ProfileContract, UnicodeFileKeepsItsEncoding) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : std::u16string(u"[U]\r\nk=\u0100z\r\n")) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    put(bytes);
    EXPECT_EQ(read(u"U", u"k"), u"\u0100z");
    ASSERT_TRUE(ini::writeString(u"U", u"k2", u"\u0101", path()));
    std::string expected = "\xFF\xFE";
    for (char16_t c : std::u16string(u"[U]\r\nk=\u0100z\r\nk2=\u0101\r\n")) {
        expected.push_back(char(c & 0xFF));
        expected.push_back(char(c >> 8));
    }
    EXPECT_EQ(contents(), expected);
}

TEST_F(ProfileContract, Utf8FileKeepsItsEncoding) {
    put("\xEF\xBB\xBF[U]\r\nk=\xC4\x80z\r\n");
    EXPECT_EQ(read(u"U", u"k"), u"\u0100z");
    ASSERT_TRUE(ini::writeString(u"U", u"k2", u"\u0101", path()));
    EXPECT_EQ(contents(), "\xEF\xBB\xBF[U]\r\nk=\xC4\x80z\r\nk2=\xC4\x81\r\n");
}

TEST_F(ProfileContract, NumbersAreReadFromTheirLeadingDigits) {
    put("[N]\r\nplain=12\r\nnegative=-7\r\ntrailing=12abc\r\nletters=abc\r\nempty=\r\n"
        "signed=+3\r\nquoted=\"42\"\r\nspaced=  -3x\r\nminus=-\r\n");
    struct Case {
        const char16_t* key;
        Dword expected;
    };
    const Case cases[] = {
        {u"plain", 12}, {u"negative", Dword(-7)}, {u"trailing", 12}, {u"letters", 0},
        {u"empty", 77}, {u"signed", 3},           {u"quoted", 42},   {u"spaced", Dword(-3)},
        {u"minus", 0},  {u"missing", 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key, c.key + std::char_traits<char16_t>::length(c.key)));
        EXPECT_EQ(ini::readInt(u"N", c.key, 77, path()), c.expected);
    }
    EXPECT_EQ(ini::readInt(u"Missing", u"plain", -1, path()), Dword(-1));
}

TEST_F(ProfileContract, MissingFileGivesTheDefaultNumber) {
    EXPECT_EQ(ini::readInt(u"A", u"k", 5, path()), 5u);
}

TEST_F(ProfileContract, WriteIntoAMissingFolderFails) {
    std::u16string missing = wide(folder() + "\\JhContractNoSuchFolder\\x.ini");
    win::setLastError(0);
    EXPECT_FALSE(ini::writeString(u"A", u"k", u"v", missing.c_str()));
    EXPECT_EQ(win::getLastError(), Dword(win::err::pathNotFound));
    EXPECT_FALSE(ini::writeString(nullptr, u"k", u"v", path()));
}

TEST_F(ProfileContract, KeysBeforeTheFirstSectionHaveTheEmptySection) {
    ASSERT_TRUE(ini::writeString(u"A", u"a", u"x", path()));
    ASSERT_TRUE(ini::writeString(u"", u"top", u"v", path()));
    EXPECT_EQ(contents(), "top=v\r\n[A]\r\na=x\r\n");
    EXPECT_EQ(read(u"", u"top"), u"v");
}

}  // namespace
