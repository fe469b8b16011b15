#pragma once
// A folder of the test's own in the temporary folder, removed with it: ctest runs tests in
// parallel processes, so a fixed name would be shared with, and removed by, a neighbour.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder() {
        const std::filesystem::path unique = "fizmo_test_XXXXXX";  // mkdtemp fills in the X's
        std::string pattern = (std::filesystem::temp_directory_path() / unique).string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};
