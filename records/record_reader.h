#pragma once
// Reading a child's sheets back, from every computer that wrote one, without ever changing
// them: what can be read is kept, what cannot is counted.

#include <QString>
#include <vector>

#include "records/record_row.h"
#include "records/skipped_records.h"

// Appends the rows of the sheet `path` that can be read to `rows`; what cannot be read is
// counted in `skipped`. Reads UTF-8 (as written) or Shift-JIS (as a spreadsheet may save it).
void ReadRecordFile(const QString& path, std::vector<RecordRow>* rows, SkippedRecords* skipped);
// Every file of a child's folder, from every computer.
void ReadChildFolder(const QString& folder, std::vector<RecordRow>* rows, SkippedRecords* skipped);
// A sheet, or a child's folder of sheets.
void ReadRecords(const QString& fileOrFolder, std::vector<RecordRow>* rows,
                 SkippedRecords* skipped);
