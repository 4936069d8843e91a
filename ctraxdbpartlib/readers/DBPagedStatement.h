#pragma once

// Statements over a list too long for one statement: the paged readers
// split a filter text "prefix(item,item,...)suffix" into pieces with the
// host's splitting service and run one statement per piece, learning the
// database's command-length limit by trial.

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A filter text split at its first "(" (searched from `from` on) and its
// first ")": the parentheses stay with prefix and suffix. A text without
// such a pair gives an empty pending list, so no statement at all.
struct PagedFilter {
    std::string prefix;
    std::string pending;
    std::string suffix;
    int limit = -1;

    PagedFilter() = default;
    PagedFilter(const std::string &text, size_t from = 0) {
        size_t open = text.find('(', from);
        size_t close = open == std::string::npos ? std::string::npos : text.find(')', open);
        if (close == std::string::npos)
            return;
        prefix = text.substr(0, open + 1);
        pending = text.substr(open + 1, close - open - 1);
        suffix = text.substr(close);
    }

    // Cuts the next piece off `list` and opens `command` on `build(piece)`.
    // A refused statement lowers the limit and is tried again with the same
    // items in a shorter piece; once the limit cannot fall further the same
    // statement is opened once more and its refusal raised. False when
    // `list` is empty.
    template <class TCommand, class TBuild>
    bool openNext(CTraxDBPath &path, TCommand &command, std::string &list, TBuild build) {
        while (!list.empty()) {
            std::string remaining = list;
            char *piece = extractToCommandStringToLimit(prefix.c_str(), remaining, suffix.c_str(), limit);
            if (piece == nullptr)
                return false;
            std::string sql = build(std::string(piece));
            freeMem(piece);
            TXDB_TRACE(LOG_FINEST, sql);
            if (SUCCEEDED(path.tryOpen(command, sql))) {
                list = remaining;
                return true;
            }
            if (!reduceDatabaseCommandStringLimit(&limit)) {
                path.open(command, sql);
                list = remaining;
                return true;
            }
        }
        return false;
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
