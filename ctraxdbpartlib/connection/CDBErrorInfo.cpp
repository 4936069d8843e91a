#include "ctraxdbpartlib/connection/CDBErrorInfo.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

thread_local std::vector<std::string> threadRecords;

} // namespace

HRESULT CDBErrorInfo::GetErrorRecords(uint32_t *count) {
    if (count == nullptr)
        return E_INVALIDARG;
    *count = static_cast<uint32_t>(threadRecords.size());
    return S_OK;
}

HRESULT CDBErrorInfo::GetDescription(uint32_t index, std::string &description) {
    if (index >= threadRecords.size())
        return E_INVALIDARG;
    description = threadRecords[index];
    return S_OK;
}

void CDBErrorInfo::clear() {
    threadRecords.clear();
}

void CDBErrorInfo::add(const std::string &description) {
    threadRecords.push_back(description);
}

const std::vector<std::string> &CDBErrorInfo::records() {
    return threadRecords;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
