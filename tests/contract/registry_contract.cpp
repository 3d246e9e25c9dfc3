// The registry as the platform keeps it: names without regard to case, in/out sizes that never
// let a value run past its field, strings as stored, access rights, deletion, enumeration and
// the two views of HKEY_LOCAL_MACHINE\SOFTWARE.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "contract_support.h"
#include "win/registry.h"

namespace {

namespace reg = win::reg;
namespace access = win::reg::access;
namespace type = win::reg::type;
namespace err = win::err;
using win::Dword;
using win::Long;

constexpr unsigned char kGuard = 0xA5;

// UTF-16 text as the bytes the registry stores.
std::string utf16Bytes(const std::u16string& text, bool terminated) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    if (terminated) bytes.append(2, '\0');
    return bytes;
}

// Unterminated text is passed with a character after it that is not a terminator: the platform
// counts a terminator that was left out of the size but follows the text in memory.
Long setAnsiString(reg::Key key, const char* name, const std::string& text, bool terminated) {
    const std::string stored = terminated ? text : text + "#";
    return reg::setValue(key, name, type::sz, stored.c_str(), Dword(text.size() + terminated));
}

Long setWideString(reg::Key key, const char16_t* name, const std::u16string& text,
                   bool terminated) {
    const std::u16string stored = terminated ? text : text + u"#";
    return reg::setValue(key, name, type::sz, stored.c_str(),
                         Dword((text.size() + terminated) * sizeof(char16_t)));
}

// What a query wrote: the result, the reported size, the field and what lies past it.
struct Queried {
    Long result = -1;
    Dword type = 0;
    Dword size = 0;
    std::string field;
    bool guardIntact = false;
};

template <typename Name>
Queried queryInto(reg::Key key, Name name, Dword fieldSize) {
    constexpr std::size_t kGuardBytes = 16;
    std::vector<unsigned char> buffer(fieldSize + kGuardBytes, kGuard);
    Queried q;
    q.size = fieldSize;
    q.result = reg::queryValue(key, name, &q.type, buffer.data(), &q.size);
    q.field.assign(reinterpret_cast<const char*>(buffer.data()), fieldSize);
    q.guardIntact = std::all_of(buffer.begin() + fieldSize, buffer.end(),
                                [](unsigned char b) { return b == kGuard; });
    return q;
}

using RegistryContract = contract::RegistryTest;

TEST_F(RegistryContract, KeyAndValueNamesIgnoreCase) {
    reg::UniqueKey created;
    ASSERT_EQ(reg::createKey(base(), "Printer\\Job 17", access::allAccess, created.put(), nullptr),
              err::success);
    Dword one = 1;
    ASSERT_EQ(reg::setValue(created.get(), "Ready", type::dword, &one, sizeof one), err::success);

    reg::UniqueKey opened;
    ASSERT_EQ(reg::openKey(base(), "PRINTER\\job 17", access::allAccess, opened.put()),
              err::success);
    Dword disposition = 0;
    reg::UniqueKey again;
    ASSERT_EQ(reg::createKey(base(), u"printer\\JOB 17", access::read, again.put(), &disposition),
              err::success);
    EXPECT_EQ(disposition, reg::openedExistingKey);

    for (const char* name : {"Ready", "READY", "ready", "rEaDy"}) {
        Dword value = 0, size = sizeof value;
        EXPECT_EQ(reg::queryValue(opened.get(), name, nullptr, &value, &size), err::success)
            << name;
        EXPECT_EQ(value, 1u) << name;
    }
    Dword value = 0, size = sizeof value;
    EXPECT_EQ(reg::queryValue(again.get(), u"READY", nullptr, &value, &size), err::success);
    EXPECT_EQ(value, 1u);

    // Setting under another case replaces the value and keeps the name it was made with.
    Dword two = 2;
    ASSERT_EQ(reg::setValue(opened.get(), "READY", type::dword, &two, sizeof two), err::success);
    reg::KeyInfo info;
    ASSERT_EQ(reg::queryInfoKey(opened.get(), &info), err::success);
    EXPECT_EQ(info.values, 1u);
    char name[32];
    Dword chars = sizeof name;
    size = sizeof value;
    ASSERT_EQ(reg::enumValue(opened.get(), 0, name, &chars, nullptr, &value, &size), err::success);
    EXPECT_EQ(std::string(name, chars), "Ready");
    EXPECT_EQ(value, 2u);
    chars = sizeof name;
    ASSERT_EQ(reg::enumKey(base(), 0, name, &chars), err::success);
    EXPECT_EQ(std::string(name, chars), "Printer");

    EXPECT_EQ(reg::deleteValue(opened.get(), "rEADY"), err::success);
    EXPECT_EQ(reg::queryValue(opened.get(), "Ready", nullptr, nullptr, &size), err::fileNotFound);
}

TEST_F(RegistryContract, CreateReportsWhetherTheKeyIsNew) {
    Dword disposition = 0;
    reg::UniqueKey key;
    ASSERT_EQ(reg::createKey(base(), "A\\B\\C", access::read, key.put(), &disposition),
              err::success);
    EXPECT_EQ(disposition, reg::createdNewKey);
    ASSERT_EQ(reg::createKey(base(), "A\\B", access::read, key.put(), &disposition), err::success);
    EXPECT_EQ(disposition, reg::openedExistingKey);
    ASSERT_EQ(reg::createKey(base(), "A\\B\\C", access::read, key.put(), nullptr), err::success);
}

TEST_F(RegistryContract, MissingKeysAndValuesAreNotFound) {
    reg::UniqueKey key;
    EXPECT_EQ(reg::openKey(base(), "Nowhere", access::read, key.put()), err::fileNotFound);
    EXPECT_EQ(key.get(), reg::Key::none);
    EXPECT_EQ(reg::openKey(base(), u"Nowhere\\Deeper", access::read, key.put()), err::fileNotFound);
    Dword size = 0;
    EXPECT_EQ(reg::queryValue(base(), "Missing", nullptr, nullptr, &size), err::fileNotFound);
    EXPECT_EQ(reg::queryValue(base(), u"Missing", nullptr, nullptr, &size), err::fileNotFound);
    EXPECT_EQ(reg::deleteValue(base(), "Missing"), err::fileNotFound);
    EXPECT_EQ(reg::deleteKey(base(), "Nowhere"), err::fileNotFound);
}

// A value that does not fit reports the size it needs and leaves everything past the field.
TEST_F(RegistryContract, ValueLargerThanItsFieldReportsMoreData) {
    const std::string binary = "0123456789ABCDEF";
    const Dword dword = 0x12345678;
    ASSERT_EQ(reg::setValue(base(), "Binary", type::binary, binary.data(), Dword(binary.size())),
              err::success);
    ASSERT_EQ(reg::setValue(base(), "Dword", type::dword, &dword, sizeof dword), err::success);
    ASSERT_EQ(setAnsiString(base(), "Ansi", "C:\\Output\\report.pdf", true), err::success);
    ASSERT_EQ(setWideString(base(), u"Wide", u"C:\\Output\\report.pdf", true), err::success);

    struct Case {
        const char* name;
        bool wide;
        Dword field;
        Dword needed;
    };
    const Case cases[] = {
        {"Binary", false, 15, 16}, {"Binary", false, 1, 16}, {"Dword", false, 2, 4},
        {"Ansi", false, 20, 21},   {"Ansi", false, 8, 21},   {"Wide", true, 41, 42},
        {"Wide", true, 40, 42},    {"Ansi", true, 10, 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.wide ? " (UTF-16)" : " (8-bit)") + " in " +
                     std::to_string(c.field));
        std::u16string wideName(c.name, c.name + std::strlen(c.name));
        Queried q = c.wide ? queryInto(base(), wideName.c_str(), c.field)
                           : queryInto(base(), c.name, c.field);
        EXPECT_EQ(q.result, err::moreData);
        EXPECT_EQ(q.size, c.needed);
        EXPECT_TRUE(q.guardIntact);
    }
}

TEST_F(RegistryContract, SizeQueryWithoutDataReportsTypeAndSize) {
    ASSERT_EQ(setAnsiString(base(), "Path", "abc", true), err::success);
    const unsigned char bytes[5] = {1, 2, 3, 4, 5};
    ASSERT_EQ(reg::setValue(base(), u"Blob", type::binary, bytes, sizeof bytes), err::success);
    ASSERT_EQ(reg::setValue(base(), "Empty", type::binary, nullptr, 0), err::success);

    struct Case {
        const char* name;
        bool wide;
        Dword type;
        Dword size;
    };
    for (const Case& c :
         {Case{"Path", false, type::sz, 4}, Case{"Path", true, type::sz, 8},
          Case{"Blob", false, type::binary, 5}, Case{"Empty", true, type::binary, 0}}) {
        SCOPED_TRACE(std::string(c.name) + (c.wide ? " (UTF-16)" : " (8-bit)"));
        std::u16string wideName(c.name, c.name + std::strlen(c.name));
        Dword kind = 0, size = 1000;
        Long result = c.wide ? reg::queryValue(base(), wideName.c_str(), &kind, nullptr, &size)
                             : reg::queryValue(base(), c.name, &kind, nullptr, &size);
        EXPECT_EQ(result, err::success);
        EXPECT_EQ(kind, c.type);
        EXPECT_EQ(size, c.size);
        // A field of exactly that size is enough.
        Queried q = c.wide ? queryInto(base(), wideName.c_str(), c.size)
                           : queryInto(base(), c.name, c.size);
        EXPECT_EQ(q.result, err::success);
        EXPECT_EQ(q.size, c.size);
        EXPECT_TRUE(q.guardIntact);
    }
}

// A string stored without a terminator comes back as stored, whichever call wrote or reads it,
// and a field of exactly its size gets nothing more.
TEST_F(RegistryContract, UnterminatedStringComesBackWithoutTerminator) {
    const std::string text = "Korvo";
    const std::u16string wideText = u"Korvo";
    ASSERT_EQ(setAnsiString(base(), "AnsiWritten", text, false), err::success);
    ASSERT_EQ(setWideString(base(), u"WideWritten", wideText, false), err::success);

    struct Case {
        const char* name;
        bool readWide;
        std::string expected;
    };
    const Case cases[] = {
        {"AnsiWritten", false, text},
        {"AnsiWritten", true, utf16Bytes(wideText, false)},
        {"WideWritten", true, utf16Bytes(wideText, false)},
        {"WideWritten", false, text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.readWide ? " read as UTF-16" : " read as 8-bit"));
        std::u16string wideName(c.name, c.name + std::strlen(c.name));
        Dword kind = 0, size = 0;
        EXPECT_EQ(c.readWide ? reg::queryValue(base(), wideName.c_str(), &kind, nullptr, &size)
                             : reg::queryValue(base(), c.name, &kind, nullptr, &size),
                  err::success);
        EXPECT_EQ(kind, type::sz);
        EXPECT_EQ(size, c.expected.size());

        const Dword field = Dword(c.expected.size());
        Queried q = c.readWide ? queryInto(base(), wideName.c_str(), field)
                               : queryInto(base(), c.name, field);
        EXPECT_EQ(q.result, err::success);
        EXPECT_EQ(q.size, c.expected.size());
        EXPECT_EQ(q.field, c.expected);
        EXPECT_TRUE(q.guardIntact);
    }
}

// With room to spare, the platform terminates such a string inside the field without counting
// the terminator.
TEST_F(RegistryContract, UnterminatedStringIsTerminatedWhenTheFieldHasRoom) {
    ASSERT_EQ(setAnsiString(base(), "AnsiWritten", "Korvo", false), err::success);
    ASSERT_EQ(setWideString(base(), u"WideWritten", u"Korvo", false), err::success);
    struct Case {
        const char* name;
        bool readWide;
        std::string expected;
    };
    const Case cases[] = {
        {"AnsiWritten", false, "Korvo"},
        {"AnsiWritten", true, utf16Bytes(u"Korvo", false)},
        {"WideWritten", true, utf16Bytes(u"Korvo", false)},
        {"WideWritten", false, "Korvo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.readWide ? " read as UTF-16" : " read as 8-bit"));
        std::u16string wideName(c.name, c.name + std::strlen(c.name));
        const Dword field = 32;
        Queried q = c.readWide ? queryInto(base(), wideName.c_str(), field)
                               : queryInto(base(), c.name, field);
        ASSERT_EQ(q.result, err::success);
        EXPECT_EQ(q.size, c.expected.size());
        EXPECT_EQ(q.field.substr(0, c.expected.size()), c.expected);
        const std::size_t terminator = c.readWide ? 2 : 1;
        EXPECT_EQ(q.field.substr(c.expected.size(), terminator), std::string(terminator, '\0'));
        EXPECT_TRUE(q.guardIntact);
    }
}

// A terminator left out of the size but right after the text is counted, as the platform does.
TEST_F(RegistryContract, TerminatorRightAfterTheCountedTextIsStored) {
    ASSERT_EQ(reg::setValue(base(), "Ansi", type::sz, "Korvo", 5), err::success);
    ASSERT_EQ(reg::setValue(base(), u"Wide", type::sz, u"Korvo", 10), err::success);
    Dword size = 0;
    EXPECT_EQ(reg::queryValue(base(), "Ansi", nullptr, nullptr, &size), err::success);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(reg::queryValue(base(), u"Wide", nullptr, nullptr, &size), err::success);
    EXPECT_EQ(size, 12u);
    // Only strings: the bytes of other types are stored as counted.
    ASSERT_EQ(reg::setValue(base(), "Blob", type::binary, "Korvo", 5), err::success);
    EXPECT_EQ(reg::queryValue(base(), "Blob", nullptr, nullptr, &size), err::success);
    EXPECT_EQ(size, 5u);
}

TEST_F(RegistryContract, TerminatedStringsConvertBetweenCalls) {
    ASSERT_EQ(setAnsiString(base(), "Name", "Office Printer", true), err::success);
    char16_t wide[32] = {};
    Dword size = sizeof wide;
    ASSERT_EQ(reg::queryValue(base(), u"Name", nullptr, wide, &size), err::success);
    EXPECT_EQ(size, 30u);
    EXPECT_EQ(std::u16string(wide), u"Office Printer");

    ASSERT_EQ(setWideString(base(), u"Name", u"Caf\u00e9", true), err::success);
    char ansi[32] = {};
    size = sizeof ansi;
    ASSERT_EQ(reg::queryValue(base(), "Name", nullptr, ansi, &size), err::success);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(ansi), "Caf\xe9");
}

TEST_F(RegistryContract, ValuesKeepTheirTypeAndBytes) {
    const unsigned char qword[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::string multi("one\0two\0\0", 9);
    const std::string binary("\0\x01\xff\0", 4);
    struct Case {
        const char* name;
        Dword type;
        std::string bytes;
    };
    const Case cases[] = {
        {"Qword", type::qword, std::string(reinterpret_cast<const char*>(qword), 8)},
        {"Binary", type::binary, binary},
        {"Multi", type::multiSz, multi},
        {"Expand", type::expandSz, std::string("%TEMP%\\x\0", 9)},
        {"Empty", type::sz, std::string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(reg::setValue(base(), c.name, c.type, c.bytes.data(), Dword(c.bytes.size())),
                  err::success);
        Queried q = queryInto(base(), c.name, 32);
        ASSERT_EQ(q.result, err::success);
        EXPECT_EQ(q.type, c.type);
        ASSERT_EQ(q.size, c.bytes.size());
        EXPECT_EQ(q.field.substr(0, q.size), c.bytes);
    }
}

TEST_F(RegistryContract, DeletingAKeyWithSubkeysFailsAndKeepsIt) {
    reg::UniqueKey child;
    ASSERT_EQ(reg::createKey(base(), "Job\\Page 1", access::allAccess, child.put(), nullptr),
              err::success);
    child.reset();
    Dword one = 1;
    reg::UniqueKey job;
    ASSERT_EQ(reg::openKey(base(), "Job", access::allAccess, job.put()), err::success);
    ASSERT_EQ(reg::setValue(job.get(), "Ready", type::dword, &one, sizeof one), err::success);
    job.reset();

    EXPECT_NE(reg::deleteKey(base(), "Job"), err::success);
    ASSERT_EQ(reg::openKey(base(), "Job\\Page 1", access::read, child.put()), err::success);
    child.reset();
    ASSERT_EQ(reg::openKey(base(), "Job", access::read, job.put()), err::success);
    Dword size = 0;
    EXPECT_EQ(reg::queryValue(job.get(), "Ready", nullptr, nullptr, &size), err::success);
    job.reset();

    EXPECT_EQ(reg::deleteKey(base(), "Job\\Page 1"), err::success);
    EXPECT_EQ(reg::deleteKey(base(), u"Job"), err::success);
    EXPECT_EQ(reg::openKey(base(), "Job", access::read, job.put()), err::fileNotFound);
}

TEST_F(RegistryContract, HandleOfADeletedKeyReportsKeyDeleted) {
    reg::UniqueKey doomed;
    ASSERT_EQ(reg::createKey(base(), "Doomed", access::allAccess, doomed.put(), nullptr),
              err::success);
    ASSERT_EQ(reg::deleteKey(base(), "Doomed"), err::success);
    Dword one = 1, size = sizeof one;
    EXPECT_EQ(reg::setValue(doomed.get(), "Ready", type::dword, &one, sizeof one), err::keyDeleted);
    EXPECT_EQ(reg::queryValue(doomed.get(), "Ready", nullptr, &one, &size), err::keyDeleted);
    EXPECT_EQ(reg::closeKey(doomed.release()), err::success);
}

TEST_F(RegistryContract, KeyOpenedForQueryingCannotBeWritten) {
    Dword one = 1;
    ASSERT_EQ(reg::setValue(base(), "Ready", type::dword, &one, sizeof one), err::success);
    reg::UniqueKey reader;
    ASSERT_EQ(
        reg::openKey(base(), static_cast<const char*>(nullptr), access::queryValue, reader.put()),
        err::success);

    Dword two = 2;
    EXPECT_EQ(reg::setValue(reader.get(), "Ready", type::dword, &two, sizeof two),
              err::accessDenied);
    EXPECT_EQ(reg::setValue(reader.get(), u"Other", type::dword, &two, sizeof two),
              err::accessDenied);
    EXPECT_EQ(reg::deleteValue(reader.get(), "Ready"), err::accessDenied);

    Dword value = 0, size = sizeof value;
    EXPECT_EQ(reg::queryValue(reader.get(), "Ready", nullptr, &value, &size), err::success);
    EXPECT_EQ(value, 1u);
    reg::KeyInfo info;
    ASSERT_EQ(reg::queryInfoKey(base(), &info), err::success);
    EXPECT_EQ(info.values, 1u);
    EXPECT_EQ(info.subKeys, 0u);
}

TEST_F(RegistryContract, KeyOpenedForQueryingCannotCreateSubkeys) {
    // Wine 8 creates the subkey whatever rights the parent handle has; Windows asks for
    // access::createSubKey.
    if (contract::onWine()) GTEST_SKIP() << "Wine does not check the parent's rights";
    reg::UniqueKey reader;
    ASSERT_EQ(
        reg::openKey(base(), static_cast<const char*>(nullptr), access::queryValue, reader.put()),
        err::success);
    reg::UniqueKey sub;
    EXPECT_EQ(reg::createKey(reader.get(), "Sub", access::read, sub.put(), nullptr),
              err::accessDenied);
    reg::KeyInfo info;
    ASSERT_EQ(reg::queryInfoKey(base(), &info), err::success);
    EXPECT_EQ(info.subKeys, 0u);
    // Opening one that exists needs no right on the parent.
    ASSERT_EQ(reg::createKey(base(), "Sub", access::read, sub.put(), nullptr), err::success);
    EXPECT_EQ(reg::createKey(reader.get(), "Sub", access::read, sub.put(), nullptr), err::success);
}

TEST_F(RegistryContract, EnumeratesSubkeysAndValues) {
    const std::set<std::string> keys = {"Alpha", "Beta", "Printer Settings"};
    for (const std::string& name : keys) {
        reg::UniqueKey key;
        ASSERT_EQ(reg::createKey(base(), name.c_str(), access::read, key.put(), nullptr),
                  err::success);
    }
    const Dword number = 7;
    ASSERT_EQ(reg::setValue(base(), "Count", type::dword, &number, sizeof number), err::success);
    ASSERT_EQ(setAnsiString(base(), "File Name", "page1.emf", true), err::success);

    std::set<std::string> seen;
    Dword index = 0;
    for (;; ++index) {
        char name[64];
        Dword chars = sizeof name;
        Long result = reg::enumKey(base(), index, name, &chars);
        if (result == err::noMoreItems) break;
        ASSERT_EQ(result, err::success);
        ASSERT_EQ(std::strlen(name), chars);
        seen.insert(name);
    }
    EXPECT_EQ(index, 3u);
    EXPECT_EQ(seen, keys);

    std::set<std::u16string> seenWide;
    for (index = 0;; ++index) {
        char16_t name[64];
        Dword chars = 64;
        if (reg::enumKey(base(), index, name, &chars) != err::success) break;
        seenWide.insert(std::u16string(name, chars));
    }
    EXPECT_EQ(seenWide, (std::set<std::u16string>{u"Alpha", u"Beta", u"Printer Settings"}));

    std::set<std::string> values;
    for (index = 0;; ++index) {
        char name[64];
        Dword chars = sizeof name, kind = 0;
        unsigned char data[32];
        Dword size = sizeof data;
        Long result = reg::enumValue(base(), index, name, &chars, &kind, data, &size);
        if (result == err::noMoreItems) break;
        ASSERT_EQ(result, err::success);
        std::string valueName(name, chars);
        values.insert(valueName);
        if (valueName == "Count") {
            EXPECT_EQ(kind, type::dword);
            EXPECT_EQ(size, 4u);
        } else {
            EXPECT_EQ(kind, type::sz);
            EXPECT_EQ(size, 10u);
            EXPECT_EQ(std::string(reinterpret_cast<char*>(data)), "page1.emf");
        }
    }
    EXPECT_EQ(values, (std::set<std::string>{"Count", "File Name"}));
}

TEST_F(RegistryContract, EnumerationNameFieldMustHoldTheTerminator) {
    reg::UniqueKey key;
    ASSERT_EQ(reg::createKey(base(), "Printer", access::read, key.put(), nullptr), err::success);
    const Dword number = 7;
    ASSERT_EQ(reg::setValue(base(), "Counter", type::dword, &number, sizeof number), err::success);

    for (Dword field : {Dword(7), Dword(1)}) {
        SCOPED_TRACE(field);
        char name[16];
        std::memset(name, '#', sizeof name);
        Dword chars = field;
        EXPECT_EQ(reg::enumKey(base(), 0, name, &chars), err::moreData);
        EXPECT_EQ(name[field], '#');
        char16_t wide[16];
        std::fill(std::begin(wide), std::end(wide), u'#');
        chars = field;
        EXPECT_EQ(reg::enumKey(base(), 0, wide, &chars), err::moreData);
        EXPECT_EQ(wide[field], u'#');
    }
    char name[16];
    Dword chars = 8;
    ASSERT_EQ(reg::enumKey(base(), 0, name, &chars), err::success);
    EXPECT_EQ(chars, 7u);
    EXPECT_STREQ(name, "Printer");

    chars = 7;
    EXPECT_EQ(reg::enumValue(base(), 0, name, &chars, nullptr, nullptr, nullptr), err::moreData);
    chars = 8;
    ASSERT_EQ(reg::enumValue(base(), 0, name, &chars, nullptr, nullptr, nullptr), err::success);
    EXPECT_EQ(chars, 7u);
    EXPECT_STREQ(name, "Counter");

    // Data that does not fit reports the size it needs.
    unsigned char data[8];
    std::memset(data, kGuard, sizeof data);
    Dword size = 2;
    chars = sizeof name;
    EXPECT_EQ(reg::enumValue(base(), 0, name, &chars, nullptr, data, &size), err::moreData);
    EXPECT_EQ(size, 4u);
    EXPECT_TRUE(std::all_of(data + 2, data + 8, [](unsigned char b) { return b == kGuard; }));
}

TEST_F(RegistryContract, QueryInfoKeyCountsAndMeasures) {
    reg::KeyInfo info;
    info.subKeys = 99;
    ASSERT_EQ(reg::queryInfoKey(base(), &info), err::success);
    EXPECT_EQ(info.subKeys, 0u);
    EXPECT_EQ(info.values, 0u);

    for (const char* name : {"A", "Longer Name"}) {
        reg::UniqueKey key;
        ASSERT_EQ(reg::createKey(base(), name, access::read, key.put(), nullptr), err::success);
    }
    const std::string blob(10, 'x');
    const Dword number = 1;
    ASSERT_EQ(reg::setValue(base(), "N", type::dword, &number, sizeof number), err::success);
    ASSERT_EQ(reg::setValue(base(), "BlobValue", type::binary, blob.data(), 10), err::success);
    // An 8-bit string is kept in UTF-16, so it counts twice its length.
    ASSERT_EQ(setAnsiString(base(), "Str", "abcdefgh", true), err::success);

    ASSERT_EQ(reg::queryInfoKey(base(), &info), err::success);
    EXPECT_EQ(info.subKeys, 2u);
    EXPECT_EQ(info.maxSubKeyLength, 11u);
    EXPECT_EQ(info.values, 3u);
    EXPECT_EQ(info.maxValueNameLength, 9u);
    EXPECT_EQ(info.maxValueSize, 18u);
}

TEST_F(RegistryContract, DefaultValueHasAnEmptyName) {
    ASSERT_EQ(reg::setValue(base(), "", type::sz, "first", 6), err::success);
    char text[16] = {};
    Dword size = sizeof text;
    ASSERT_EQ(reg::queryValue(base(), u"", nullptr, text, &size), err::success);
    EXPECT_EQ(size, 12u);
    char name[8] = "x";
    Dword chars = sizeof name;
    ASSERT_EQ(reg::enumValue(base(), 0, name, &chars, nullptr, nullptr, nullptr), err::success);
    EXPECT_EQ(chars, 0u);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(reg::deleteValue(base(), ""), err::success);
    EXPECT_EQ(reg::queryValue(base(), "", nullptr, nullptr, &size), err::fileNotFound);
}

TEST_F(RegistryContract, MalformedRequestsAreRefused) {
    Dword one = 1;
    ASSERT_EQ(reg::setValue(base(), "Ready", type::dword, &one, sizeof one), err::success);
    // Data without a size to bound it.
    Dword value = 0;
    EXPECT_EQ(reg::queryValue(base(), "Ready", nullptr, &value, nullptr), err::invalidParameter);
    EXPECT_EQ(value, 0u);
    // A path that starts at a separator.
    reg::UniqueKey key;
    EXPECT_EQ(reg::createKey(base(), "\\Sub", access::read, key.put(), nullptr), err::badPathname);
    EXPECT_EQ(reg::openKey(base(), "\\Sub", access::read, key.put()), err::badPathname);
    // The longest key name the platform promises to keep.
    const std::string longest(255, 'k');
    EXPECT_EQ(reg::createKey(base(), longest.c_str(), access::read, key.put(), nullptr),
              err::success);
}

TEST_F(RegistryContract, InvalidHandleIsRefused) {
    reg::Key bogus = reg::Key(0x1234560);
    Dword size = 0;
    EXPECT_EQ(reg::queryValue(bogus, "x", nullptr, nullptr, &size), err::invalidHandle);
    reg::KeyInfo info;
    EXPECT_EQ(reg::queryInfoKey(bogus, &info), err::invalidHandle);
    EXPECT_EQ(reg::closeKey(bogus), err::invalidHandle);
}

// HKEY_LOCAL_MACHINE\SOFTWARE under each view, made by the test and removed after it.
class LocalMachineViews : public contract::Test {
  protected:
    void SetUp() override {
        contract::Test::SetUp();
        path_ = "SOFTWARE\\JhContract_" + contract::currentTestName();
        for (Dword view : {access::wow64_32, access::wow64_64})
            ASSERT_TRUE(contract::deleteTree(reg::localMachine, path_, view));
    }
    void TearDown() override {
        for (Dword view : {access::wow64_32, access::wow64_64})
            EXPECT_TRUE(contract::deleteTree(reg::localMachine, path_, view));
        contract::Test::TearDown();
    }

    Long create(Dword view, reg::UniqueKey* key) {
        return reg::createKey(reg::localMachine, path_.c_str(), access::allAccess | view,
                              key->put(), nullptr);
    }

    std::string path_;
};

TEST_F(LocalMachineViews, ThirtyTwoAndSixtyFourBitViewsAreSeparateTrees) {
    reg::UniqueKey wide;
    Long made = create(access::wow64_64, &wide);
    if (made == err::accessDenied) GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    ASSERT_EQ(made, err::success);
    const Dword sixtyFour = 64;
    ASSERT_EQ(reg::setValue(wide.get(), "Bits", type::dword, &sixtyFour, 4), err::success);

    reg::UniqueKey narrow;
    EXPECT_EQ(reg::openKey(reg::localMachine, path_.c_str(), access::read | access::wow64_32,
                           narrow.put()),
              err::fileNotFound);
    ASSERT_EQ(create(access::wow64_32, &narrow), err::success);
    Dword size = 0;
    EXPECT_EQ(reg::queryValue(narrow.get(), "Bits", nullptr, nullptr, &size), err::fileNotFound);
    const Dword thirtyTwo = 32;
    ASSERT_EQ(reg::setValue(narrow.get(), "Bits", type::dword, &thirtyTwo, 4), err::success);

    // A call without a view flag sees the view of the program's own width.
    reg::UniqueKey plain;
    ASSERT_EQ(reg::openKey(reg::localMachine, path_.c_str(), access::read, plain.put()),
              err::success);
    Dword bits = 0;
    size = sizeof bits;
    ASSERT_EQ(reg::queryValue(plain.get(), "Bits", nullptr, &bits, &size), err::success);
    EXPECT_EQ(bits, contract::defaultView() == access::wow64_64 ? 64u : 32u);

    size = sizeof bits;
    ASSERT_EQ(reg::queryValue(wide.get(), "Bits", nullptr, &bits, &size), err::success);
    EXPECT_EQ(bits, 64u);
    wide.reset();
    narrow.reset();
    plain.reset();

    // Deleting through one view leaves the other's key.
    EXPECT_EQ(reg::deleteKey(reg::localMachine, path_.c_str(), access::wow64_32), err::success);
    EXPECT_EQ(reg::openKey(reg::localMachine, path_.c_str(), access::read | access::wow64_32,
                           narrow.put()),
              err::fileNotFound);
    ASSERT_EQ(
        reg::openKey(reg::localMachine, path_.c_str(), access::read | access::wow64_64, wide.put()),
        err::success);
}

}  // namespace
