#pragma once

#include "ctraxdbpartlib/CLogHandler.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Appends each record to <base>_<year>_<day>_<index>.log, moving to the
// next index once the current file has reached the maximum size. A symbolic
// link, or a file that is not a plain file of the process's user, in the
// log's place is refused.
class CFileLogHandler : public CLogHandler {
public:
    static constexpr uint32_t MAX_FILE_SIZE = 1048576;

    CFileLogHandler(LogLevel threshold, const std::string &basePath);
    bool publish(LogRecord &record) override;

    // The text of one record, byte for byte as it is written.
    static std::string formatRecord(const LogRecord &record);

    int32_t getFileIndex() const { return fileIndex; }

private:
    std::string basePath;
    uint32_t maxFileSize = MAX_FILE_SIZE;
    int32_t fileIndex = 0;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
