#pragma once

#include "ctraxdbpartlib/access/DBAccess.h"
#include "ctraxdbpartlib/connection/DBField.h"
#include "ctraxdbpartlib/readers/HierarchyAccessor.h"
#include "interface/Handles.h"
#include "interface/HierarchyAccess.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One folder of a library.
class CTraxDBHierarchyAccess : public DBAccess<HierarchyAccess> {
public:
    CTraxDBHierarchyAccess(pathHandle_t path, const HierarchyAccessor &row);
    ~CTraxDBHierarchyAccess() override;

    void getName(TCHAR *buffer, size_t size, bool unused) override;
    hierarchyAccessHandle_t getParent() override;
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyChildReader() override;
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter) override;
    void getPosition(int &position) override;
    void getParentID(bool &isNull, int &parentID) override;
    int getID() override;
    void getParentName(bool &isNull, TCHAR *buffer, size_t size) override;
    int getLibID() override;

    // Runs `sql` (a select of [Name],[Parent_ID],[ID],[Library_ID] with the
    // folder ID as its one parameter) and returns that folder, or an empty
    // handle when no row has the ID. Used by every record that climbs to a
    // folder.
    static hierarchyAccessHandle_t lookup(const pathHandle_t &path, const std::string &sql, int32_t folderId);
    // The lookup of the records that climb to their part's folder.
    static constexpr const char *FOLDER_BY_ID =
        "SELECT [Name],[Parent_ID],[ID],[Library_ID] FROM [Hierarchy] WHERE [ID] = ?";

private:
    pathHandle_t path;
    int32_t id;
    int32_t libraryId;
    DBValue<int32_t> parentId;
    DBText<51> name;
    DBText<51> secondName;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
