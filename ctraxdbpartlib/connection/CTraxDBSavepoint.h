#pragma once

#include "ctraxdbpartlib/connection/CTraxDBPath.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A savepoint in the transaction that runs on a path's session, in the
// engine's own statements. Outside a transaction, or where the engine has
// no savepoints, there is none (`active` is false) and the work runs
// without. The destructor rolls back to the savepoint unless it was
// released or rolled back before.
class CTraxDBSavepoint {
public:
    CTraxDBSavepoint(CTraxDBPath &path, std::string name);
    ~CTraxDBSavepoint();

    bool active() const { return open; }
    // Undoes what was done since the savepoint and ends it.
    void rollBack();
    // Ends the savepoint, keeping what was done.
    void release();

    CTraxDBSavepoint(const CTraxDBSavepoint &) = delete;
    CTraxDBSavepoint &operator=(const CTraxDBSavepoint &) = delete;

private:
    HRESULT run(const std::string &sql);

    CTraxDBPath &path;
    std::string name;
    bool open = false;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
