#pragma once

// Helpers of the logging and error tests: a temporary folder for log files,
// reading them back, and switching the process-wide logger on for a test.

#include "ctraxdbpartlib/CFileLogHandler.h"
#include "ctraxdbpartlib/CLogger.h"
#include "tests/support/TestUtil.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace txdbtest {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "txdb_log_XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    // An absolute base path for a file handler inside the folder.
    std::string base() const { return (path / "txdb").string(); }
    // Names of the files in the folder, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path path;
};

// The name the handler uses today for the given base and index.
inline std::string todaysLogFile(const std::string &base, int index) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return base + "_" + std::to_string(local.tm_year + 1900) + "_" + std::to_string(local.tm_mday) + "_" +
           std::to_string(index) + ".log";
}

// The values of every line of `text` that starts with `label`.
inline std::vector<std::string> fieldValues(const std::string &text, const std::string &label) {
    std::vector<std::string> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, label.size(), label) == 0)
            values.push_back(line.substr(label.size()));
    return values;
}

// Puts a file handler into theLogger and switches logging on; undoes both.
class LoggingOn {
public:
    LoggingOn(COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::LogLevel threshold, const std::string &base)
        : handler(threshold, base), saved(COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::loggingEnabled) {
        slot = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::theLogger.addHandler(&handler);
        COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::loggingEnabled = true;
    }
    ~LoggingOn() {
        COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::theLogger.removeHandler(slot);
        COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::loggingEnabled = saved;
    }

private:
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CFileLogHandler handler;
    bool saved;
    int slot;
};

} // namespace txdbtest
