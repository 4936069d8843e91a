#include "ctraxdbpartlib/readers/CTraxDBAllAttribReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBAllAttribAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr DetailQuery libraryAttributes{
    "[Part_Definition].[ID], [Attributes].[Name],[Attributes].[Attribute_value],[Attributes].[Usage_type],"
    "[Attributes].[Read_Only]",
    "[Part_Definition] INNER JOIN [Attributes] ON [Part_Definition].[ID]=[Attributes].[Part_def_ID]",
    " ORDER BY [Part_Definition].[ID],[Attributes].[Name];"};
static_assert(detailAgrees<AllAttributeAccessor>(libraryAttributes));

constexpr DetailQuery filteredAttributes{
    "[Attributes].[Part_def_ID],[Attributes].[Name],[Attributes].[Attribute_value],[Attributes].[Usage_type],"
    "[Attributes].[Read_Only]",
    "[Attributes]", " ORDER BY [Attributes].[Part_def_ID],[Attributes].[Name];"};
static_assert(detailAgrees<AllAttributeAccessor>(filteredAttributes));

} // namespace

CTraxDBAllAttribReader::CTraxDBAllAttribReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText)
    : DBAllDetailReader(std::move(path), "CTraxDBAllAttribReader") {
    TXDB_TRACE(
        LOG_FINER,
        "CTraxDBAllAttribReader::CTraxDBAllAttribReader (pathHandle_t, CTraxDBLibAccess &,libraryFilterCompHandle_t)");
    openLibrary(libraryAttributes, filteredAttributes, "[Attributes].[Part_def_ID]", library, filterText);
}

std::shared_ptr<AllAttributeAccess> CTraxDBAllAttribReader::makeRecord() {
    return newRecord<CTraxDBAllAttribAccess>(command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
