#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

// The records of a thread. A thread's thread_local objects are destroyed
// before the process's static ones, so a database call made from a static
// destructor at exit finds them gone: it then keeps its records in a
// process-wide list that lives until the very end.
thread_local bool threadRecordsGone = false;

struct ThreadRecords {
    std::vector<std::string> list;
    CDBErrorInfo::Cause cause;
    ~ThreadRecords() { threadRecordsGone = true; }
};

thread_local ThreadRecords threadState;

ThreadRecords &threadErrors() {
    if (!threadRecordsGone)
        return threadState;
    static ThreadRecords *late = new ThreadRecords();
    return *late;
}

std::vector<std::string> &threadRecords() {
    return threadErrors().list;
}

} // namespace

HRESULT CDBErrorInfo::GetErrorRecords(uint32_t *count) {
    if (count == nullptr)
        return E_INVALIDARG;
    *count = static_cast<uint32_t>(threadRecords().size());
    return S_OK;
}

HRESULT CDBErrorInfo::GetDescription(uint32_t index, std::string &description) {
    if (index >= threadRecords().size())
        return E_INVALIDARG;
    description = threadRecords()[index];
    return S_OK;
}

void CDBErrorInfo::clear() {
    threadRecords().clear();
    threadErrors().cause = Cause();
}

void CDBErrorInfo::add(const std::string &description) {
    threadRecords().push_back(description);
}

const std::vector<std::string> &CDBErrorInfo::records() {
    return threadRecords();
}

void CDBErrorInfo::setCause(const Cause &cause) {
    threadErrors().cause = cause;
}

const CDBErrorInfo::Cause &CDBErrorInfo::cause() {
    return threadErrors().cause;
}

CDBErrorInfo::Kept::Kept() : records(CDBErrorInfo::records()), cause(CDBErrorInfo::cause()) {}

CDBErrorInfo::Kept::~Kept() {
    threadRecords().swap(records);
    threadErrors().cause = std::move(cause);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
