#pragma once
// What could not be read of a child's records, and the one line that tells it. Plain C++.

#include <string>
#include <vector>

struct SkippedRecords {
    long rows = 0;
    std::vector<std::string> files;  // unreadable files, and files with skipped rows
    bool Any() const { return rows > 0 || !files.empty(); }
};

// The one line that names what was skipped, in Japanese and English; empty when nothing was.
std::string SkippedLine(const SkippedRecords& skipped);
