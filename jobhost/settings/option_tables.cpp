#include "jobhost/settings/option_tables.h"

#include <iterator>
#include <string_view>

namespace {

constexpr const char16_t* kNumberOptions[] = {
    u"File Format",                                 // 0
    u"Open printer document with default viewer",   // 1
    u"Open output folder",                          // 2
    u"Save each page as separate file",             // 3
    u"Append File",                                 // 4
    u"Cancel was pressed",                          // 5
    u"Show append warning message",                 // 6
    u"Show overwrite warning message",              // 7
    u"Color Depth",                                 // 8
    u"JPEG: Loss Ratio",                            // 9
    u"TIFF: Internet TIFF Format",                  // 10
    u"TIFF: Reverse Bit Order",                     // 11
    u"TIFF: Add page Numbering Tag",                // 12
    u"Image PDF: Compression Flag",                 // 13
    u"PDF: Security - Encryption",                  // 14
    u"PDF: Security - Security Flags",              // 15
    u"PDF: Compression - Stream Compression",       // 16
    u"PDF: Compression - Color Image Compression",  // 17
    u"PDF: Compression - Mono Image Compression",   // 18
    u"PDF: Compression - JPEG Quality",             // 19
    u"PDF: Fonts - Embed Fonts",                    // 20
    u"PDF: Fonts - Embed Licensed Fonts",           // 21
    u"PDF: Fonts - Embed Adobe Fonts",              // 22
    u"PDF: Fonts - Embed Windows Fonts",            // 23
    u"PDF: Fonts - Create Font Subset",             // 24
    u"PDF: Fonts - Force Embed Fonts Count",        // 25
    u"PDF: Fonts - Forbid Embed Fonts Count",       // 26
    u"HTML: General - View Type",                   // 27
    u"HTML: General - CSS Settings",                // 28
    u"HTML: General - Separate Pages",              // 29
    u"HTML: General - Display Mode",                // 30
    u"HTML: Fonts - Embed Fonts",                   // 31
    u"HTML: Fonts - Embed Licensed Fonts",          // 32
    u"HTML: Fonts - Create Font Subset",            // 33
    u"HTML: Fonts - Force Embed Fonts Count",       // 34
    u"HTML: Fonts - Forbid Embed Fonts Count",      // 35
    u"Redirect Printing",                           // 36
    u"Send printed document in email",              // 37
    u"Upload to SharePoint",                        // 38
    u"Print Watermark",                             // 39
    u"Printer count",                               // 40
    u"Watermark Add first page only",               // 41
    u"Watermark P Stretch to width",                // 42
    u"Watermark P Stretch to fit",                  // 43
    u"Watermark P Tile",                            // 44
    u"Watermark L Stretch to width",                // 45
    u"Watermark L Stretch to fit",                  // 46
    u"Watermark L Tile",                            // 47
    u"Watermark P First Image position",            // 48
    u"Watermark L First Image position",            // 49
    u"Watermark First Image enabled",               // 50
    u"Watermark P Brightness",                      // 51
    u"Watermark L Brightness",                      // 52
    u"Watermark P First Brightness",                // 53
    u"Watermark L First Brightness",                // 54
    u"Watermark P Center",                          // 55
    u"Watermark L Center",                          // 56
};

constexpr const char16_t* kStringOptions[] = {
    u"Output Path",                         // 0
    u"Filename",                            // 1
    u"PDF: Description - Title",            // 2
    u"PDF: Description - Author",           // 3
    u"PDF: Description - Subject",          // 4
    u"PDF: Description - Keywords",         // 5
    u"PDF: Security - User Password",       // 6
    u"PDF: Security - Owner Password",      // 7
    u"PDF: Fonts - Force Embed Font_%d",    // 8
    u"PDF: Fonts - Forbid Embed Font_%d",   // 9
    u"HTML: General - Output Folder",       // 10
    u"HTML: Fonts - Force Embed Font_%d",   // 11
    u"HTML: Fonts - Forbid Embed Font_%d",  // 12
    u"Printer %d",                          // 13
    u"Redirect Printing Log File",          // 14
    u"Enable Redirect Printing Log",        // 15
    u"SMTP Server",                         // 16
    u"SMTP Port",                           // 17
    u"SMTP UserName",                       // 18
    u"SMTP Password",                       // 19
    u"SMTP Enable SSL",                     // 20
    u"Email Send Silently",                 // 21
    u"Email Sender",                        // 22
    u"Email To",                            // 23
    u"Email Cc",                            // 24
    u"Email Bcc",                           // 25
    u"Email Subject",                       // 26
    u"Email Body",                          // 27
    u"Logging Directory",                   // 28
    u"Logging Enabled",                     // 29
    u"Sender Client",                       // 30
    u"SharePoint Server",                   // 31
    u"SharePoint Directory",                // 32
    u"SharePoint User",                     // 33
    u"SharePoint Pass",                     // 34
    u"SharePoint Logfile",                  // 35
    u"SharePoint Silent",                   // 36
    u"Watermark Portrait Image",            // 37
    u"Watermark Landscape Image",           // 38
    u"Watermark Portrait First Image",      // 39
    u"Watermark Landscape First Image",     // 40
};

constexpr const char16_t* kUiTabs[] = {
    u"Display File Format Tab",          // 0
    u"Display Filename Generation Tab",  // 1
    u"Display Start Application Tab",    // 2
    u"Display Watermark Tab",            // 3
    u"Display Annotation Tab",           // 4
    u"Display Bates Tab",                // 5
    u"Display Profile Manager Tab",      // 6
    u"Display Redirect Printing Tab",    // 7
};

template <std::size_t nCount>
const char16_t* Lookup(const char16_t* const (&names)[nCount], std::int32_t nNumber) {
    if (nNumber < 0 || std::size_t(nNumber) >= nCount) return nullptr;
    return names[nNumber];
}

}  // namespace

const char16_t* NumberOptionName(std::int32_t nOption) {
    return Lookup(kNumberOptions, nOption);
}

const char16_t* StringOptionName(std::int32_t nOption) {
    return Lookup(kStringOptions, nOption);
}

bool IsIndexedStringOption(std::int32_t nOption) {
    const char16_t* szName = StringOptionName(nOption);
    return szName && std::u16string_view(szName).find(u"%d") != std::u16string_view::npos;
}

const char16_t* UiTabName(std::int32_t nTab) {
    const char16_t* szName = Lookup(kUiTabs, nTab);
    return szName ? szName : u"";
}
