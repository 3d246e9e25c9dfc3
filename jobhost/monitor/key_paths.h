// Paths of a job's exchange keys below HKEY_CURRENT_USER, each built into a 260-byte field.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kRegistryPathSize = 260;
inline constexpr char kCompanyKeyPath[] = "SOFTWARE\\Korvanex Software LLC\\";

using RegistryPath = char[kRegistryPathSize];

// Each returns false, leaving an empty path, when the printer key name is absent or the path
// does not fit its field; callers then treat the key as one that cannot be opened.
bool FormatJobKeyPath(RegistryPath& szPath, const char* szPrinterKeyName, std::int32_t nJobNumber);
bool FormatForwardingKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                             std::int32_t nJobNumber, std::int32_t nPageNumber);
bool FormatOptionSetKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                            std::int32_t nJobNumber);
bool FormatEmailKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                        std::int32_t nJobNumber);
bool FormatSharePointKeyPath(RegistryPath& szPath, const char* szPrinterKeyName,
                             std::int32_t nJobNumber);
// The company key followed by a path relative to it (the redirect settings key).
bool FormatCompanyKeyPath(RegistryPath& szPath, const char* szRelativePath);
