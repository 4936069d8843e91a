#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

// The extension of the file name in `path` (".sql"), or ".txt" when it has none.
std::string keptExtension(const std::string &path) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot + 1 == path.size())
        return ".txt";
    return path.substr(dot);
}

// Creates a new file partlib-report-<n><extension> in `dir`, with the first n
// not yet taken; returns its path, empty on failure.
std::string createKeptFile(const std::string &dir, const std::string &extension) {
    for (int n = 1; n < 100000; ++n) {
        std::string candidate = dir + "/partlib-report-" + std::to_string(n) + extension;
        int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            break;
    }
    return std::string();
}

// Copies the report to a place where it stays after the caller deletes it.
std::string keepReport(const char *path) {
    const std::string &configured = hostCallbacks().reportDirectory;
    std::string kept = createKeptFile(configured.empty() ? "." : configured, keptExtension(path));
    if (kept.empty())
        return kept;
    std::ifstream in(path, std::ios::binary);
    std::ofstream out(kept, std::ios::binary | std::ios::trunc);
    if (in)
        out << in.rdbuf();
    if (!in || !out) {
        out.close();
        std::remove(kept.c_str());
        return std::string();
    }
    return kept;
}

} // namespace

int processReport(const char *path, const ReportRequest * /*request*/) {
    if (!path)
        return 0;
    const HostCallbacks &callbacks = hostCallbacks();
    if (callbacks.reportViewer) {
        callbacks.reportViewer(path);
        return 1;
    }
    std::string kept = keepReport(path);
    if (kept.empty()) {
        std::cerr << "The report " << path << " could not be kept" << std::endl;
        return 0;
    }
    bool isScript = keptExtension(kept) == ".sql";
    std::cerr << (isScript ? "SQL script kept at " : "Report kept at ") << kept << std::endl;
    return 1;
}
