#include "ctraxdbpartlib/CFileLogHandler.h"

#include "ctraxdbpartlib/CLogger.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CFileLogHandler::CFileLogHandler(LogLevel threshold, const std::string &basePath)
    : CLogHandler(threshold), basePath(basePath) {}

std::string CFileLogHandler::formatRecord(const LogRecord &record) {
    char timeText[255];
    std::time_t seconds = static_cast<std::time_t>(record.seconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::strftime(timeText, sizeof timeText, "%d/%m/%Y %H:%M:%S.", &local);

    std::string text = "\nLogger name: " + record.loggerName + "\n";
    text += "Level: " + std::string(CLogger::levelName(record.level)) + "\n";
    text += "Time: " + std::string(timeText) + std::to_string(record.milliseconds) + "\n";
    text += "Sequence: " + std::to_string(record.sequence) + "\n";
    text += "Source file: " + record.sourceFile + "\n";
    text += "Source line: " + std::to_string(record.sourceLine) + "\n";
    text += "Thread ID: " + std::to_string(record.threadId) + "\n";
    text += "Process ID: " + std::to_string(record.processId) + "\n";
    text += "Message: " + record.message + "\n";
    return text;
}

bool CFileLogHandler::publish(LogRecord &record) {
    if (threshold == LOG_OFF || record.level < threshold)
        return true;
    record.sequence = sequence++;

    int fd = -1;
    for (;;) {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char name[4096];
        std::snprintf(name, sizeof name, "%s_%d_%d_%d.log", basePath.c_str(), local.tm_year + 1900, local.tm_mday,
                      fileIndex);
        // A link or a file of another user in the log's place is not written
        // through: it could send the records anywhere.
        fd = open(name, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0)
            return false;
        struct stat info;
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
            close(fd);
            return false;
        }
        if (static_cast<uint64_t>(info.st_size) < maxFileSize)
            break;
        close(fd);
        ++fileIndex;
    }
    const std::string text = formatRecord(record);
    ssize_t written = write(fd, text.data(), text.size());
    close(fd);
    return written == static_cast<ssize_t>(text.size());
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
