#include "ctraxdbpartlib/readers/CTraxDBAllPinDataReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBAllPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr DetailQuery libraryPins{
    "[Part_Definition].[ID],[Pin_Data].[Pin_identifier],[Pin_Data].[Name],[Pin_Data].[Label],[Pin_Data].[Signal],"
    "[Pin_Data].[Pin_type],[Pin_Data].[Loading],[Pin_Data].[Pin_position],[Pin_Data].[Equiv_group],[Pin_Data].[ID]",
    "[Part_Definition] INNER JOIN [Pin_Data] ON [Part_Definition].[ID]=[Pin_Data].[Part_def_ID]",
    " ORDER BY [Part_Definition].[ID],[Pin_Data].[Pin_identifier];"};
static_assert(detailAgrees<AllPinDataAccessor>(libraryPins));

constexpr DetailQuery filteredPins{
    "[Part_def_ID],[Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],[Equiv_group],[ID]",
    "[Pin_Data]", " ORDER BY([ID]);"};
static_assert(detailAgrees<AllPinDataAccessor>(filteredPins));

} // namespace

CTraxDBAllPinDataReader::CTraxDBAllPinDataReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText)
    : DBAllDetailReader(std::move(path), "CTraxDBAllPinDataReader", MoveTrace::None) {
    TXDB_TRACE(LOG_FINER, "CTraxDBAllPinDataReader::CTraxDBAllPinDataReader (pathHandle_t, CTraxDBLibAccess "
                          "&,libraryFilterCompHandle_t)");
    openLibrary(libraryPins, filteredPins, "[Pin_Data].[Part_def_ID]", library, filterText);
}

std::shared_ptr<AllPinDataAccess> CTraxDBAllPinDataReader::makeRecord() {
    return newRecord<CTraxDBAllPinDataAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
