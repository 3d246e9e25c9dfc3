// The per-key values of a printer's profile: switches, decimal numbers, defaults, writer
// limits, the passwords and the user interface's tabs.
#include "jobhost/settings/store_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "jobhost/settings/settings_store.h"
#include "jobhost/settings/ui_tabs.h"
#include "win/sim/machine.h"

namespace {

namespace sim = win::sim;
using win::reg::currentUser;
using SV = StoreValue;

const std::string kPrinter = "SOFTWARE\\Korvanex Software LLC\\Office PDF";

class StoreValues : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::reset();
        SetDmDeviceName(&settings_, u"Office PDF");
    }
    void TearDown() override {
        EXPECT_EQ(sim::openResources().total(), 0u)
            << ::testing::PrintToString(sim::describeOpenResources());
    }

    std::optional<std::u16string> Text(StoreValue value, std::uint32_t size = 520) {
        char16_t buffer[300];
        if (!GetStoreText(&settings_, value, buffer, &size)) return std::nullopt;
        EXPECT_EQ(buffer[size / 2], 0);
        return std::u16string(buffer, size / 2);
    }

    std::optional<std::string> Stored(const std::string& key, const std::string& name) {
        return sim::regString(currentUser, kPrinter + "\\" + key, name);
    }

    DriverSettings settings_{};
};

TEST_F(StoreValues, YesNoIsOnOnlyForYesInAnyCase) {
    struct Case {
        std::optional<std::string> stored;
        int on;
    };
    const Case cases[] = {
        {"Yes", 1},
        {"YES", 1},
        {"yes", 1},
        {"yEs", 1},
        {"1", 0},
        {"No", 0},
        {"Yess", 0},
        {"", 0},
        {" Yes", 0},
        {std::nullopt, 0},
        {std::string(20, 'Y'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? *c.stored : "missing");
        sim::regDeleteTree(currentUser, kPrinter);
        if (c.stored)
            sim::regSetString(currentUser, kPrinter + "\\Post Print Settings", "Open output folder",
                              *c.stored, false);
        EXPECT_EQ(GetStoreSwitch(&settings_, SV::postOpenOutputFolder), c.on);
    }
    // A value stored with its terminator reads the same.
    sim::regSetString(currentUser, kPrinter + "\\Post Print Settings", "Send in email", "yes");
    EXPECT_EQ(GetStoreSwitch(&settings_, SV::postSendInEmail), 1);

    EXPECT_EQ(SetStoreSwitch(&settings_, SV::sharePointUpload, true), 1);
    EXPECT_EQ(Stored("Post Print Settings\\SharePoint Settings", "SharePoint Upload"), "Yes");
    EXPECT_EQ(SetStoreSwitch(&settings_, SV::sharePointUpload, false), 1);
    EXPECT_EQ(Stored("Post Print Settings\\SharePoint Settings", "SharePoint Upload"), "No");
    EXPECT_EQ(SetStoreSwitch(&settings_, SV::pdfJpegQuality, true), 0) << "not a switch";
}

TEST_F(StoreValues, SenderClientIsOnOnlyForOne) {
    const std::string key = "Post Print Settings\\Email Settings";
    for (auto [stored, on] : {std::pair{"1", 1}, {"0", 0}, {"Yes", 0}, {"01", 0}}) {
        sim::regSetString(currentUser, kPrinter + "\\" + key, "Sender Client", stored, false);
        EXPECT_EQ(GetStoreSwitch(&settings_, SV::emailSenderClient), on) << stored;
    }
    EXPECT_EQ(SetStoreNumber(&settings_, SV::emailSenderClient, 1), 1);
    EXPECT_EQ(Stored(key, "Sender Client"), "1");
    EXPECT_EQ(SetStoreNumber(&settings_, SV::emailSenderClient, 2), 0);
    EXPECT_EQ(SetStoreSwitch(&settings_, SV::emailSenderClient, false), 1);
    EXPECT_EQ(Stored(key, "Sender Client"), "0");
}

TEST_F(StoreValues, DecimalValuesReadWithTheirDefaults) {
    struct Case {
        std::optional<std::string> stored;
        std::int32_t read;
    };
    const Case cases[] = {
        {std::nullopt, 307},    {"42", 42},         {"12abc", 12}, {"abc", 0}, {"", 0}, {"-3", -3},
        {"12345678", 12345678}, {"123456789", 307},  // 18 bytes: too long
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? *c.stored : "missing");
        sim::regDeleteTree(currentUser, kPrinter);
        if (c.stored)
            sim::regSetString(currentUser, kPrinter + "\\Pdf Settings", "Mono Image Compression",
                              *c.stored, false);
        std::int32_t value = -99;
        EXPECT_EQ(GetStoreNumber(&settings_, SV::pdfMonoImageCompression, &value), 1);
        EXPECT_EQ(value, c.read);
    }
}

TEST_F(StoreValues, EveryDecimalDefault) {
    struct Case {
        StoreValue value;
        std::int32_t fallback;
    };
    const Case cases[] = {
        {SV::pdfStreamCompression, 105},
        {SV::pdfMonoImageCompression, 307},
        {SV::pdfColorImageCompression, 207},
        {SV::pdfJpegQuality, 85},
        {SV::pdfDocumentEncryption, 0},
        {SV::pdfDocumentSecurityFlag, 0},
        {SV::pdfEmbedAllFonts, 1},
        {SV::pdfCreateSubset, 1},
        {SV::pdfEmbedLicensedFonts, 0},
        {SV::pdfEmbedAdobeFonts, 0},
        {SV::pdfEmbedWindowsFonts, 0},
        {SV::pdfForceEmbedFontCount, 0},
        {SV::htmlPageSizeSetting, 0},
        {SV::htmlCssSettings, 1},
        {SV::htmlVectorGraphicsDisplayMode, 1},
        {SV::htmlEmbedAllFonts, 1},
        {SV::htmlCreateSubset, 1},
        {SV::htmlSeparatePages, 0},
        {SV::htmlEmbedLicensedFonts, 0},
        {SV::redirectPrinterCount, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = -99;
        EXPECT_EQ(GetStoreNumber(&settings_, c.value, &value), 1);
        EXPECT_EQ(value, c.fallback) << int(c.value);
    }
    std::int32_t value = -99;
    EXPECT_EQ(GetStoreNumber(nullptr, SV::pdfJpegQuality, &value), 0);
    EXPECT_EQ(GetStoreNumber(&settings_, SV::pdfDocumentTitle, &value), 0) << "a text";
    EXPECT_EQ(value, -99);
}

TEST_F(StoreValues, NumberWritersKeepTheirLimits) {
    struct Case {
        StoreValue value;
        std::int32_t accepted[2];
        std::int32_t refused[2];
    };
    const Case cases[] = {
        {SV::pdfStreamCompression, {0, 106}, {-1, 107}},
        {SV::pdfMonoImageCompression, {0, 308}, {-1, 309}},
        {SV::pdfColorImageCompression, {0, 207}, {-1, 208}},
        {SV::pdfJpegQuality, {1, 100}, {0, 101}},
        {SV::pdfDocumentEncryption, {0, 2}, {-1, 3}},
        {SV::pdfForceEmbedFontCount, {0, 5000}, {-1, INT32_MIN}},
        {SV::htmlForbidEmbedFontCount, {0, 1}, {-1, -100}},
        {SV::redirectPrinterCount, {0, 3}, {-1, -2}},
        {SV::watermarkFirstImagePortraitBrightness, {0, 100}, {-1, 101}},
        {SV::watermarkFirstImageLandscapePosition, {1, 8}, {3, 0}},
        {SV::watermarkFirstImagePortraitPosition, {2, 4}, {16, 5}},
    };
    for (const Case& c : cases) {
        const StoreValueInfo* info = FindStoreValue(c.value);
        ASSERT_NE(info, nullptr);
        for (std::int32_t accepted : c.accepted) {
            EXPECT_EQ(SetStoreNumber(&settings_, c.value, accepted), 1) << accepted;
            std::int32_t read = -99;
            GetStoreNumber(&settings_, c.value, &read);
            // A stored brightness of 0 reads as 30.
            bool readsAsDefault =
                c.value == SV::watermarkFirstImagePortraitBrightness && accepted == 0;
            EXPECT_EQ(read, readsAsDefault ? 30 : accepted);
        }
        for (std::int32_t refused : c.refused)
            EXPECT_EQ(SetStoreNumber(&settings_, c.value, refused), 0) << refused;
        std::int32_t read = -99;
        GetStoreNumber(&settings_, c.value, &read);
        EXPECT_EQ(read, c.accepted[1]) << "a refused value leaves the stored one";
    }
    EXPECT_EQ(SetStoreNumber(&settings_, SV::pdfJpegQuality, 77), 1);
    EXPECT_EQ(Stored("Pdf Settings", "JPEG Quality"), "77");
    EXPECT_EQ(
        sim::regDword(currentUser, kPrinter + "\\Redirect Printing Settings", "Printer count"), 3u);
}

TEST_F(StoreValues, TextWritersKeepTheirLimits) {
    struct Case {
        StoreValue value;
        std::size_t longest;  // 0: no limit of its own
    };
    const Case cases[] = {
        {SV::pdfDocumentTitle, 255},
        {SV::pdfDocumentSubject, 255},
        {SV::pdfDocumentAuthor, 255},
        {SV::pdfDocumentKeywords, 515},
        {SV::htmlContentOutputDirectory, 259},
        {SV::redirectLogFile, 259},
        {SV::sharePointServer, 259},
        {SV::sharePointDirectory, 259},
        {SV::sharePointUser, 259},
        {SV::sharePointLogfile, 259},
        {SV::applicationExeName, 259},
        {SV::emailBody, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.value));
        std::size_t longest = c.longest ? c.longest : 2000;
        std::u16string text(longest, u'w');
        EXPECT_EQ(SetStoreText(&settings_, c.value, text.c_str()), 1);
        char16_t buffer[2100];
        std::uint32_t size = sizeof buffer;
        ASSERT_EQ(GetStoreText(&settings_, c.value, buffer, &size), 1);
        EXPECT_EQ(size, longest * 2);
        if (c.longest) {
            std::u16string tooLong(c.longest + 1, u'x');
            EXPECT_EQ(SetStoreText(&settings_, c.value, tooLong.c_str()), 0);
            size = sizeof buffer;
            GetStoreText(&settings_, c.value, buffer, &size);
            EXPECT_EQ(std::u16string(buffer, size / 2), text);
        }
    }
}

TEST_F(StoreValues, TextGetterReportsTheSizeItNeeds) {
    ASSERT_EQ(SetStoreText(&settings_, SV::emailSubject, u"Printed"), 1);
    EXPECT_EQ(Text(SV::emailSubject), u"Printed");
    char16_t buffer[8];
    std::uint32_t size = 14;  // the text without room for its terminator
    EXPECT_EQ(GetStoreText(&settings_, SV::emailSubject, buffer, &size), 0);
    EXPECT_EQ(size, 16u);
    EXPECT_EQ(Text(SV::emailCc), std::nullopt);
    EXPECT_EQ(Text(SV::pdfJpegQuality), std::nullopt) << "not a text";
    EXPECT_EQ(Text(SV::redirectPrinter), std::nullopt) << "indexed";
}

TEST_F(StoreValues, ListsCountFromOne) {
    ASSERT_EQ(SetStoreNumber(&settings_, SV::htmlForceEmbedFontCount, 2), 1);
    ASSERT_EQ(SetStoreListText(&settings_, SV::htmlForceEmbedFont, 0, u"Arial"), 1);
    ASSERT_EQ(SetStoreListText(&settings_, SV::htmlForceEmbedFont, 1, u"Verdana"), 1);
    ASSERT_EQ(SetStoreListText(&settings_, SV::redirectPrinter, 0, u"Laser"), 1);
    const std::string fonts = "Html Settings\\Force Embed Fonts";
    EXPECT_EQ(Stored(fonts, "Font count"), "2");
    EXPECT_EQ(Stored(fonts, "Font 1"), "Arial");
    EXPECT_EQ(Stored(fonts, "Font 2"), "Verdana");
    EXPECT_EQ(Stored("Redirect Printing Settings", "Printer 1"), "Laser");
    char16_t buffer[32];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(GetStoreListText(&settings_, SV::htmlForceEmbedFont, 1, buffer, &size), 1);
    EXPECT_EQ(std::u16string(buffer), u"Verdana");
    EXPECT_EQ(SetStoreListText(&settings_, SV::emailTo, 0, u"x"), 0) << "not a list";
    EXPECT_EQ(SetStoreText(&settings_, SV::redirectPrinter, u"x"), 0) << "needs its index";
}

TEST_F(StoreValues, DocumentPasswordsAreScrambledAndRoundTrip) {
    const std::u16string password = u"Open sesame! 123 \u00e9";
    ASSERT_EQ(SetStoreText(&settings_, SV::pdfDocumentUserPassword, password.c_str()), 1);
    auto stored = sim::regValue(currentUser, kPrinter + "\\Pdf Settings", "Document User Password");
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->data.size(), password.size() * 2);
    // The same one-byte key on every unit: the exclusive-or of stored and plain is constant
    // and only touches the low byte.
    unsigned key = (unsigned char)stored->data[0] ^ (password[0] & 0xFF);
    EXPECT_NE(key, 0u);
    for (std::size_t i = 0; i < password.size(); ++i) {
        EXPECT_EQ((unsigned char)stored->data[2 * i] ^ (password[i] & 0xFF), key);
        EXPECT_EQ((unsigned char)stored->data[2 * i + 1], password[i] >> 8);
    }
    EXPECT_EQ(Text(SV::pdfDocumentUserPassword), password);

    // Every character survives, also the one that scrambles to 0.
    std::u16string every;
    for (char16_t c = 1; c < 0x100; ++c) every.push_back(c);
    for (std::size_t at = 0; at < every.size(); at += 32) {
        std::u16string part = every.substr(at, 32);
        ASSERT_EQ(SetStoreText(&settings_, SV::pdfDocumentOwnerPassword, part.c_str()), 1);
        EXPECT_EQ(Text(SV::pdfDocumentOwnerPassword), part);
    }
    EXPECT_EQ(
        SetStoreText(&settings_, SV::pdfDocumentOwnerPassword, std::u16string(33, u'p').c_str()),
        0);
}

TEST_F(StoreValues, SmtpPasswordIsHexWithReversedDigits) {
    ASSERT_EQ(SetStoreText(&settings_, SV::emailSmtpPassword, u"Ab~"), 1);
    EXPECT_EQ(Stored("Post Print Settings\\Email Settings", "SMTP Password"), "1426E7");
    EXPECT_EQ(Text(SV::emailSmtpPassword), u"Ab~");

    std::u16string longest(15, u'\u00ff');
    EXPECT_EQ(SetStoreText(&settings_, SV::emailSmtpPassword, longest.c_str()), 1);
    EXPECT_EQ(Text(SV::emailSmtpPassword), longest);
    // More than the 31 digits that the reader takes, or characters that need one digit or
    // three, are refused.
    EXPECT_EQ(SetStoreText(&settings_, SV::emailSmtpPassword, std::u16string(16, u'a').c_str()), 0);
    EXPECT_EQ(SetStoreText(&settings_, SV::emailSmtpPassword, u"tab\t"), 0);
    EXPECT_EQ(SetStoreText(&settings_, SV::emailSmtpPassword, u"\u0100"), 0);
    EXPECT_EQ(Text(SV::emailSmtpPassword), longest);

    // What the reader makes of stored texts written by others.
    struct Case {
        std::string stored;
        std::optional<std::u16string> read;
    };
    const Case cases[] = {
        {"14262", u"Ab"},      // an unpaired last digit is ignored
        {"1g", std::nullopt},  // not hexadecimal
        {"14", u"A"},
        {std::string(32, '1'), std::nullopt},  // more than the reader's 64 bytes take
        {"", u""},
    };
    for (const Case& c : cases) {
        sim::regSetString(currentUser, kPrinter + "\\Post Print Settings\\Email Settings",
                          "SMTP Password", c.stored, false);
        EXPECT_EQ(Text(SV::emailSmtpPassword), c.read) << c.stored;
    }
}

TEST_F(StoreValues, SharePointPasswordIsScrambledHex) {
    const std::u16string password = u"Pa55! w\u00f6rd";
    ASSERT_EQ(SetStoreText(&settings_, SV::sharePointPass, password.c_str()), 1);
    std::optional<std::string> stored =
        Stored("Post Print Settings\\SharePoint Settings", "SharePoint Pass");
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), password.size() * 2);
    // Two capital digits per character, high first, all scrambled with one key.
    unsigned key = std::stoul(stored->substr(0, 2), nullptr, 16) ^ password[0];
    for (std::size_t i = 0; i < password.size(); ++i) {
        std::string pair = stored->substr(2 * i, 2);
        EXPECT_EQ(pair.find_first_not_of("0123456789ABCDEF"), std::string::npos) << pair;
        EXPECT_EQ(std::stoul(pair, nullptr, 16) ^ password[i], key);
    }
    EXPECT_EQ(Text(SV::sharePointPass), password);

    std::u16string longest(129, u'z');
    EXPECT_EQ(SetStoreText(&settings_, SV::sharePointPass, longest.c_str()), 1);
    EXPECT_EQ(Text(SV::sharePointPass), longest);
    EXPECT_EQ(SetStoreText(&settings_, SV::sharePointPass, std::u16string(130, u'z').c_str()), 0);
    EXPECT_EQ(SetStoreText(&settings_, SV::sharePointPass, u"\u20ac"), 0);
    EXPECT_EQ(Text(SV::sharePointPass), longest);

    // The key is not the SMTP encoding's: the same text stores differently.
    ASSERT_EQ(SetStoreText(&settings_, SV::sharePointPass, u"A"), 1);
    EXPECT_NE(Stored("Post Print Settings\\SharePoint Settings", "SharePoint Pass"), "41");
}

TEST_F(StoreValues, UiTabsFallBackOnTheIniFile) {
    SetINIFileName(&settings_, u"C:\\sim\\ui.ini");
    sim::fileWrite("C:\\sim\\ui.ini",
                   "[UI Tabs Settings]\r\nDisplay Watermark Tab=0\r\nDisplay Bates Tab=2\r\n"
                   "Display Annotation Tab=1\r\n");
    struct Case {
        std::int32_t tab;
        int shown;
    };
    // No registry values: the INI file answers, 1 when it has no key.
    for (const Case& c : {Case{3, 0}, Case{5, 0}, Case{4, 1}, Case{0, 1}, Case{8, 0}, Case{-1, 0}})
        EXPECT_EQ(IsUiTabShown(&settings_, c.tab), c.shown) << c.tab;

    // Registry values win over the file.
    EXPECT_EQ(ShowUiTab(&settings_, 3, true), 1);
    EXPECT_EQ(ShowUiTab(&settings_, 0, false), 1);
    EXPECT_EQ(ShowUiTab(&settings_, 8, true), 0);
    EXPECT_EQ(IsUiTabShown(&settings_, 3), 1);
    EXPECT_EQ(IsUiTabShown(&settings_, 0), 0);
    EXPECT_EQ(sim::regDword(currentUser, kPrinter + "\\UI Tabs Settings", "Display Watermark Tab"),
              1u);
    sim::regSetDword(currentUser, kPrinter + "\\UI Tabs Settings", "Display Start Application Tab",
                     2);
    EXPECT_EQ(IsUiTabShown(&settings_, 2), 0);

    // Without a file every tab without a value is shown.
    sim::fileRemove("C:\\sim\\ui.ini");
    EXPECT_EQ(IsUiTabShown(&settings_, 5), 1);
    SetINIFileName(&settings_, u"");
    EXPECT_EQ(IsUiTabShown(&settings_, 5), 1);
    EXPECT_EQ(IsUiTabShown(nullptr, 5), 0);
}

}  // namespace
