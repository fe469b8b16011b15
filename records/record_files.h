#pragma once
// Where records live, and reading them back. A records folder holds a folder per child
// (its name encoded so that it never leaves the records folder) and in it a file per
// computer, so that no two computers sharing the folder ever write the same file.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "records/child_summary.h"

// The records folder of this user when none is chosen: in the desktop's data folder.
QString DefaultRecordsDir();

// The folder name for a child's name; the unnamed record has one of its own. The result is
// one path component, never "." or "..", and never longer than a file system allows.
QString ChildFolderName(const QString& childName);
// The name a folder stands for: the inverse of ChildFolderName where the name was not cut.
QString ChildNameOfFolder(const QString& folderName);
// This computer's file in a child's folder.
QString ComputerFileName();
// The file this computer appends a child's rows to.
QString ChildRecordFile(const QString& recordsDir, const QString& childName);

// The folders of the children with records in `recordsDir`, sorted by folder name.
QStringList ChildFolders(const QString& recordsDir);
// The names of the children with records in `recordsDir`, sorted.
QStringList ChildrenWithRecords(const QString& recordsDir);

// Appends the rows of the sheet `path` that can be read to `rows`; what cannot be read is
// counted in `skipped`. Reads UTF-8 (as written) or Shift-JIS (as a spreadsheet may save it).
// Never changes the file.
void ReadRecordFile(const QString& path, std::vector<RecordRow>* rows, SkippedRecords* skipped);
// Every file of a child's folder, from every computer.
void ReadChildFolder(const QString& folder, std::vector<RecordRow>* rows, SkippedRecords* skipped);

// A sheet, or a child's folder of sheets.
void ReadRecords(const QString& fileOrFolder, std::vector<RecordRow>* rows,
                 SkippedRecords* skipped);

// The one line that names what was skipped, in Japanese and English; empty when nothing was.
std::string SkippedLine(const SkippedRecords& skipped);
