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
    ~ThreadRecords() { threadRecordsGone = true; }
};

thread_local ThreadRecords threadState;

std::vector<std::string> &threadRecords() {
    if (!threadRecordsGone)
        return threadState.list;
    static std::vector<std::string> *late = new std::vector<std::string>();
    return *late;
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
}

void CDBErrorInfo::add(const std::string &description) {
    threadRecords().push_back(description);
}

const std::vector<std::string> &CDBErrorInfo::records() {
    return threadRecords();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
