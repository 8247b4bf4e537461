#pragma once
#include <functional>
#include <string>

// Helpers shared by the test programs: waiting on a condition, paths inside the test prefix and the helper programs.
namespace testsupport {

// Asks Condition every few milliseconds until it holds or Milliseconds have passed; whether it held. Tests wait on
// what they need instead of sleeping a time that is too long on a quiet machine and too short on a loaded one.
bool WaitUntil(const std::function<bool()>& Condition, unsigned Milliseconds = 5000);

// A fresh, empty folder below the prefix's temp folder, unique per call and never one that existed before (no
// trailing backslash).
std::string FreshFolder(const std::string& name);

// Folder that holds the small helper programs (Quintaro.exe and the like).
std::string HelpersFolder();

// Writes a file with the given bytes; creates nothing above it.
void WriteFile(const std::string& path, const std::string& bytes);

// A file's whole content, or "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);

// Creates one folder (an existing one is fine); throws when it cannot.
void MakeFolder(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace testsupport
