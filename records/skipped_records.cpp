#include "records/skipped_records.h"

#include <algorithm>

namespace {

constexpr std::size_t kFilesNamed = 3;  // a folder of a thousand bad files still gives one line

}  // namespace

std::string SkippedLine(const SkippedRecords& skipped) {
    if (!skipped.Any()) return {};
    std::string files;
    for (std::size_t i = 0; i < std::min(skipped.files.size(), kFilesNamed); ++i)
        files += (files.empty() ? "" : ", ") + skipped.files[i];
    std::string more, moreEnglish;
    if (skipped.files.size() > kFilesNamed) {
        const std::string count = std::to_string(skipped.files.size() - kFilesNamed);
        more = " …ほか " + count + " ファイル";
        moreEnglish = " and " + count + " more files";
    }
    const std::string rows = std::to_string(skipped.rows);
    return "読めなかった行 " + rows + "・ファイル: " + files + more + " / " + rows +
           " rows could not be read, in: " + files + moreEnglish;
}
