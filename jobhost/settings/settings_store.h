// The per-user settings store of the printers' profiles, below
// HKEY_CURRENT_USER\SOFTWARE\Korvanex Software LLC: finding a printer's store name from its
// settings record, and reading and writing single values of its keys.
//
// A key is named by a root path and a key template whose "%s" stands for the printer store
// name. Strings are stored as REG_SZ without their terminator. Every key opened is closed
// before an operation returns; no operation changes the caller's out values on failure, except
// that a buffer that is too small gets the size it needs.
#pragma once

#include <cstdint>
#include <string>

#include "jobhost/settings/driver_settings.h"

inline constexpr char16_t kStoreRoot[] = u"SOFTWARE\\Korvanex Software LLC";
// The size in bytes of the store's own name and path buffers (260 characters).
inline constexpr std::uint32_t kStoreBufferBytes = 520;

// Fills szBuffer (nBufferBytes bytes, cleared first) with the printer store name: the
// "Printer name" of PrinterIDs\<PrinterId>, or, when that can't be read, the record's
// dmDeviceName. The name is always terminated within the buffer.
void GetPrinterStoreName(const DriverSettings* pSettings, char16_t* szBuffer,
                         std::uint32_t nBufferBytes);

// Reads the raw bytes of a value of <root>\<template filled with the printer store name>.
// Returns 1 with the bytes read in *pnSize; 0 when an argument other than the buffer is
// missing, the key can't be opened or the value doesn't exist. When the value is larger than
// *pnSize, or *pnSize is not 0 and there is no buffer, *pnSize gets the value's size and the
// result is 0.
int ReadStoreValue(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate, const char16_t* szValueName, void* pBuffer,
                   std::uint32_t* pnSize);

// 1 when <root>\<template filled with the printer store name> exists and can be read.
int StoreKeyExists(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate);

// Reads a value of exactly 4 bytes, whatever its type, into *pdwValue; 1 on success.
int ReadStoreDword(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate, const char16_t* szValueName,
                   std::uint32_t* pdwValue);

// Reads a string value into szBuffer (*pnSize bytes, cleared first) and terminates it. 1 with
// the text's size in bytes, without the terminator, in *pnSize; 0 when it can't be read or,
// with the size it needs (terminator included) in *pnSize, when it does not fit.
int ReadStoreText(const DriverSettings* pSettings, const char16_t* szRootPath,
                  const char16_t* szKeyTemplate, const char16_t* szValueName, char16_t* szBuffer,
                  std::uint32_t* pnSize);

// Create the root and the key below it when they are missing and write the value; 1 on
// success.
int WriteStoreString(const DriverSettings* pSettings, const char16_t* szRootPath,
                     const char16_t* szKeyTemplate, const char16_t* szValueName,
                     const char16_t* szText);
int WriteStoreDword(const DriverSettings* pSettings, const char16_t* szRootPath,
                    const char16_t* szKeyTemplate, const char16_t* szValueName,
                    std::uint32_t dwValue);

// The same as WriteStoreString for a text given with its length, which may hold 0 characters.
int WriteStoreText(const DriverSettings* pSettings, const char16_t* szRootPath,
                   const char16_t* szKeyTemplate, const char16_t* szValueName,
                   const std::u16string& text);

// The root of the protected-mode store:
// Software\Microsoft\Internet Explorer\InternetRegistry\REGISTRY\USER\<UserSid>\<store root>.
// Empty when the record's UserSid is not a security identifier in string form.
std::u16string ProtectedModeRoot(const DriverSettings* pSettings);
