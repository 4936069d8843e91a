#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// The buffer makeTempFile writes into holds at least this many bytes.
static constexpr size_t TEMP_PATH_BUFFER = 4096;

int makeTempFile(char *buffer) {
    if (!buffer)
        return 0;
    const char *dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/partlib-XXXXXX";
    if (path.size() >= TEMP_PATH_BUFFER)
        return 0;
    int fd = mkstemp(path.data());
    if (fd < 0)
        return 0;
    close(fd);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return 1;
}

// `write` nonzero opens for writing, emptying or creating the file; zero
// opens an existing file for reading. The create flag is implied by write.
int openTextFile(const char *path, TEXTFILE *handle, int write, int /*create*/) {
    if (!path || !handle)
        return 0;
    FILE *file = std::fopen(path, write ? "w" : "r");
    *handle = file;
    return file ? 1 : 0;
}

// Files are always written byte for byte, so there is nothing to switch.
void asciiTextFile(TEXTFILE /*handle*/) {}

int printTextFile(TEXTFILE handle, const char *text) {
    if (!handle || !text)
        return 0;
    return std::fputs(text, static_cast<FILE *>(handle)) >= 0 ? 1 : 0;
}

void closeTextFile(TEXTFILE handle) {
    if (handle)
        std::fclose(static_cast<FILE *>(handle));
}

int deleteFile(const char *path) {
    return path && unlink(path) == 0 ? 1 : 0;
}
