#pragma once

#include "ctraxdbpartlib/access/DBAccess.h"
#include "ctraxdbpartlib/connection/DBField.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "interface/Handles.h"
#include "interface/PartForReportsAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The report view of one part: its folder's name and, on request, the
// folder's full path.
class CTraxDBPartForReportsAccess : public DBAccess<PartForReportsAccess> {
public:
    CTraxDBPartForReportsAccess(pathHandle_t path, const PartForReportsAccessor &row);
    ~CTraxDBPartForReportsAccess() override;

    void getName(TCHAR *buffer, size_t size, bool unused) override;
    void getNumber(bool &isNull, TCHAR *buffer, size_t size) override;
    void getVersion(bool &isNull, int &version) override;
    void getHierarchyID(bool &isNull, int &hierarchyID) override;
    void getDescription(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPCBCompName(bool &isNull, TCHAR *buffer, size_t size) override;
    void getHierrachyName(bool &isNull, TCHAR *buffer, size_t size) override;
    void getHierrachyFullName(bool &isNull, TCHAR **fullName) override;
    hierarchyAccessHandle_t getPartHierarchy() override;

private:
    pathHandle_t path;
    DBText<51> name;
    DBText<51> number;
    DBText<256> description;
    DBValue<int32_t> version;
    DBValue<int32_t> hierarchyId;
    DBText<81> pcbCompName;
    DBText<51> hierarchyName;
    char *fullName = nullptr; // host memory, computed on first request
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
