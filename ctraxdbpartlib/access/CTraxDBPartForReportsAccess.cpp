#include "ctraxdbpartlib/access/CTraxDBPartForReportsAccess.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"

#include <cstring>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPartForReportsAccess"};

} // namespace

CTraxDBPartForReportsAccess::CTraxDBPartForReportsAccess(pathHandle_t path, const PartForReportsAccessor &row)
    : path(std::move(path)) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,PartForReportsAccessor &)"));
    name.assign(row.name);
    number.assign(row.number, row.numberStatus);
    description.assign(row.description, row.descriptionStatus);
    version.assign(row.version, row.versionStatus);
    hierarchyId.assign(row.hierarchyId, row.hierarchyIdStatus);
    pcbCompName.assign(row.pcbCompName, row.pcbCompNameStatus);
    hierarchyName.assign(row.hierarchyName, row.hierarchyNameStatus);
}

CTraxDBPartForReportsAccess::~CTraxDBPartForReportsAccess() {
    TXDB_TRACE(LOG_FINEST, traced.destructor());
    if (fullName)
        freeMem(fullName);
}

void CTraxDBPartForReportsAccess::getName(TCHAR *buffer, size_t size, bool) {
    TXDB_TRACE(LOG_FINE, traced("getName(TCHAR *,size_t,bool)"));
    getter::text(name, buffer, size);
}

void CTraxDBPartForReportsAccess::getNumber(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getNumber(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(number, isNull, buffer, size);
}

void CTraxDBPartForReportsAccess::getVersion(bool &isNull, int &value) {
    TXDB_TRACE(LOG_FINE, traced("getVersion(bool &,int &)"));
    getter::value(version, isNull, value, OnNull::KeepValue);
}

void CTraxDBPartForReportsAccess::getHierarchyID(bool &isNull, int &value) {
    TXDB_TRACE(LOG_FINE, traced("getHierarchyID(bool &,int &)"));
    getter::value(hierarchyId, isNull, value, OnNull::KeepValue);
}

// As for the other part records: 51 characters at least, a longer text cut.
void CTraxDBPartForReportsAccess::getDescription(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getDescription(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(description, isNull, buffer, size, 51);
}

void CTraxDBPartForReportsAccess::getPCBCompName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getPCBCompName(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(pcbCompName, isNull, buffer, size);
}

void CTraxDBPartForReportsAccess::getHierrachyName(bool &isNull, TCHAR *buffer, size_t size) {
    TXDB_TRACE(LOG_FINE, traced("getHierrachyName(bool &,TCHAR *,size_t)"));
    getter::textBufferFirst(hierarchyName, isNull, buffer, size);
}

void CTraxDBPartForReportsAccess::getHierrachyFullName(bool &isNull, TCHAR **out) {
    TXDB_TRACE(LOG_FINE, traced("getHierrachyFullName(bool &,TCHAR **)"));
    if (out == nullptr)
        TXDB_RAISE(IDS_NULL_BUFFER);
    if (fullName == nullptr) {
        // Every ancestor's name followed by "\", folders named "root" left
        // out, then the part's own folder.
        // The walk meets them from the bottom up; they are joined from the top.
        std::vector<std::string> ancestors;
        if (hierarchyAccessHandle_t folder = getPartHierarchy())
            forEachAncestor(*folder, [&ancestors](HierarchyAccess &ancestor) {
                TextBuffer<51> folderName;
                ancestor.getName(folderName, sizeof folderName, false);
                if (std::strcmp(folderName, "root") != 0)
                    ancestors.emplace_back(folderName);
            });
        std::string text;
        for (auto ancestor = ancestors.rbegin(); ancestor != ancestors.rend(); ++ancestor)
            text += *ancestor + "\\";
        text += hierarchyName.text;
        fullName = mallocString(text.size());
        std::memcpy(fullName, text.c_str(), text.size() + 1);
    }
    isNull = hierarchyName.null;
    if (!isNull)
        *out = fullName;
}

hierarchyAccessHandle_t CTraxDBPartForReportsAccess::getPartHierarchy() {
    TXDB_TRACE(LOG_FINE, traced("getPartHierarchy"));
    return CTraxDBHierarchyAccess::lookup(path, CTraxDBHierarchyAccess::FOLDER_BY_ID, hierarchyId.value);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
