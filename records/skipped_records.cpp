#include "records/skipped_records.h"

std::string SkippedLine(const SkippedRecords& skipped) {
    if (!skipped.Any()) return {};
    std::string files;
    for (const std::string& file : skipped.files) files += (files.empty() ? "" : ", ") + file;
    const std::string rows = std::to_string(skipped.rows);
    return "読めなかった行 " + rows + "・ファイル: " + files + " / " + rows +
           " rows could not be read, in: " + files;
}
