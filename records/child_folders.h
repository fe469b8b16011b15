#pragma once
// Where records live. A records folder holds a folder per child (its name encoded so that it
// never leaves the records folder) and in it a file per computer, so that no two computers
// sharing the folder ever write the same file. Every file there is read, whatever its name.

#include <QString>
#include <QStringList>

// The records folder of this user when none is chosen: in the desktop's data folder.
QString DefaultRecordsDir();

// A name as the records keep it: NFKC, so that a name typed in another form of the same
// characters (full-width or half-width, composed or not) is the same child, with the spaces
// at its ends dropped and those within made one.
QString ChildName(const QString& typed);
// The folder name for a child's name, taken as ChildName() keeps it; the unnamed record has one of
// its own. The result is one path component, never "." or "..", and never longer than a file system
// allows.
QString ChildFolderName(const QString& childName);
// The name a folder stands for: the inverse of ChildFolderName where the name was not cut.
QString ChildNameOfFolder(const QString& folderName);
// This computer's file in a child's folder: its hostname, for a teacher to tell the files
// apart, and `installationId`, as computers installed from one image share a hostname.
QString ComputerFileName(const QString& installationId);

// The folders of the children with records in `recordsDir`, sorted by folder name.
QStringList ChildFolders(const QString& recordsDir);
