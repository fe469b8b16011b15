#pragma once
// Opening files for the game, which reads them with the standard streams.

#include <cstdio>
#include <string>

// Opens `name` for reading; null when it cannot be opened or is a folder, which a stream
// would open but never read. Plain "r": the reader does the text-mode translation itself.
std::FILE* OpenFileForReading(const std::string& name);

// Whether the open stream is a regular file, one with an end to scan to (not a pipe or a
// device such as /dev/zero).
bool IsRegularFile(std::FILE* file);
