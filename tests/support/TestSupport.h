#pragma once
#include <string>

// Helpers shared by the test programs: paths inside the test prefix and the helper programs.
namespace testsupport {

// A fresh, empty folder below the prefix's temp folder, unique per call (no trailing backslash).
std::string FreshFolder(const std::string& name);

// Folder that holds the small helper programs (Quintaro.exe and the like).
std::string HelpersFolder();

// Writes a file with the given bytes; creates nothing above it.
void WriteFile(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace testsupport
