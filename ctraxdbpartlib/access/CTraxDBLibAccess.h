#pragma once

#include "ctraxdbpartlib/access/CTraxDBLibRecord.h"
#include "interface/LibraryAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One library read from the database, with the readers of what it holds.
class CTraxDBLibAccess : public CTraxDBLibRecord<LibraryAccess> {
public:
    CTraxDBLibAccess(pathHandle_t path, const LibraryAccessor &row);

    void setHint(int key, int value) override;
    void setHints(int first, int second, int third, int fourth) override;
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() override;
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyOnlyReader() override;
    std::shared_ptr<Reader<PartAccess>> getPartReader(const TCHAR *filterText, int selection) override;
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter, int selection) override;
    std::shared_ptr<Reader<CompletePartAndPartDefAccess>> getCompletePartAndPartDefReader(partFilterCompHandle_t filter,
                                                                                          int selection) override;
    std::shared_ptr<Reader<PartForReportsAccess>> getPartReaderForReports(int sorted) override;
    std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(partDefFilterHandle_t filter, int selection) override;
    std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(int selection) override;
    std::shared_ptr<Reader<PartDefDataAccess>> getPartDefDataReader(const TCHAR *filterText) override;
    std::shared_ptr<Reader<AllPinDataAccess>> getAllPinDataReader(const TCHAR *filterText) override;
    std::shared_ptr<Reader<AllPinEquivAccess>> getAllPinEquivReader(const TCHAR *filterText) override;
    std::shared_ptr<Reader<AllAttributeAccess>> getAllAttributeReader(const TCHAR *filterText) override;
    std::shared_ptr<Reader<AllGateAccess>> getAllGateReader(const TCHAR *filterText) override;
    std::shared_ptr<Reader<AllGateSwapAccess>> getAllGateSwapReader(const TCHAR *filterText) override;
    bool getStoredEnabled(int &value) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
