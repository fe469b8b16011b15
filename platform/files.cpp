#include "platform/files.h"

#include <sys/stat.h>

std::FILE* OpenFileForReading(const std::string& name) {
    std::FILE* file = std::fopen(name.c_str(), "r");
    struct stat info {};
    if (file && fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool IsRegularFile(std::FILE* file) {
    struct stat info {};
    return file && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}
