#pragma once

#include "ctraxdbpartlib/OleDbTypes.h"

#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The error records that the last failing session-layer call left on this
// thread. Every session-layer operation clears them when it starts and adds
// the engine's descriptions when it fails.
class CDBErrorInfo {
public:
    // Number of records left by the last failing call (0 when none).
    HRESULT GetErrorRecords(uint32_t *count);
    // Description of record `index` (0-based); fails for an index past the end.
    HRESULT GetDescription(uint32_t index, std::string &description);

    // Used by the providers.
    static void clear();
    static void add(const std::string &description);
    static const std::vector<std::string> &records();

    // What the engine said of the failure besides its texts: the SQLSTATE of
    // its first diagnostic (ODBC) and its own error number (the native error
    // of ODBC, SQLite's extended result code). Cleared with the records.
    struct Cause {
        std::string sqlState;
        int engineError = 0;
    };
    static void setCause(const Cause &cause);
    static const Cause &cause();

    // The thread's records and cause as they are now, back in place at the
    // end of the scope whatever ran in between.
    class Kept {
    public:
        Kept();
        ~Kept();
        Kept(const Kept &) = delete;
        Kept &operator=(const Kept &) = delete;

    private:
        std::vector<std::string> records;
        Cause cause;
    };
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
