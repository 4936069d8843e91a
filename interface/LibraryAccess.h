#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class AllAttributeAccess;
class AllGateAccess;
class AllGateSwapAccess;
class AllPinDataAccess;
class AllPinEquivAccess;
class CompletePartAndPartDefAccess;
class PartAccess;
class PartDefAccess;
class PartDefDataAccess;
class PartForReportsAccess;

// One library. Filter texts are NUL-terminated SQL fragments spliced into the
// reader's query; a null or empty text means the whole library. The trailing
// selection values let other implementations deliver different records per
// writer pass; the database ignores them.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class LibraryAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getEnabled(bool &enabled) = 0;
    virtual void getComment(bool &isNull, TCHAR *buffer, size_t size) = 0;
    // Hints for other implementations; the database does nothing with them.
    virtual void setHint(int key, int value) = 0;
    virtual void setHints(int first, int second, int third, int fourth) = 0;
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() = 0;
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyOnlyReader() = 0;
    virtual std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() = 0;
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(const TCHAR *filterText, int selection) = 0;
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter, int selection) = 0;
    virtual std::shared_ptr<Reader<CompletePartAndPartDefAccess>>
    getCompletePartAndPartDefReader(partFilterCompHandle_t filter, int selection) = 0;
    virtual std::shared_ptr<Reader<PartForReportsAccess>> getPartReaderForReports(int sorted) = 0;
    virtual std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(partDefFilterHandle_t filter, int selection) = 0;
    virtual std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(int selection) = 0;
    virtual std::shared_ptr<Reader<PartDefDataAccess>> getPartDefDataReader(const TCHAR *filterText) = 0;
    virtual std::shared_ptr<Reader<AllPinDataAccess>> getAllPinDataReader(const TCHAR *filterText) = 0;
    virtual std::shared_ptr<Reader<AllPinEquivAccess>> getAllPinEquivReader(const TCHAR *filterText) = 0;
    virtual std::shared_ptr<Reader<AllAttributeAccess>> getAllAttributeReader(const TCHAR *filterText) = 0;
    virtual std::shared_ptr<Reader<AllGateAccess>> getAllGateReader(const TCHAR *filterText) = 0;
    virtual std::shared_ptr<Reader<AllGateSwapAccess>> getAllGateSwapReader(const TCHAR *filterText) = 0;
    virtual int getID() = 0;
    // [Enabled] as stored, any number; false when the record does not know
    // it (then getEnabled is all there is).
    virtual bool getStoredEnabled(int &enabled) {
        enabled = 0;
        return false;
    }
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
