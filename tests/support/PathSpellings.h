#pragma once
#include <string>
#include <vector>

// What the refusal tests of the removal operations share: the current folder, and the paths that must be refused.
namespace testsupport {

// The current folder for a guard's life: set at construction, put back when the guard goes, also when a test fails.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder);
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    ~CurrentFolder();
    bool Entered() const { return entered_; }

private:
    std::string saved_;
    bool entered_ = false;
};

// Every spelling of the root of drive letter, and of paths relative to a drive's or the current folder (sub names a
// folder in that root): none of them may reach a removal.
std::vector<std::string> RootAndRelativeSpellings(char letter, const std::string& sub);

}  // namespace testsupport
