#include "interface/PartLibInterface.h"

#include <type_traits>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

namespace {

template <class T> constexpr bool isRecordInterface() {
    return std::is_abstract<T>::value && std::is_base_of<Access, T>::value && std::has_virtual_destructor<T>::value;
}

static_assert(isRecordInterface<LibraryAccess>(), "LibraryAccess");
static_assert(isRecordInterface<LibHierarchyOnlyAccess>(), "LibHierarchyOnlyAccess");
static_assert(isRecordInterface<HierarchyAccess>(), "HierarchyAccess");
static_assert(isRecordInterface<PartAccess>(), "PartAccess");
static_assert(isRecordInterface<PartDefAccess>(), "PartDefAccess");
static_assert(isRecordInterface<PartDefDataAccess>(), "PartDefDataAccess");
static_assert(isRecordInterface<CompletePartAndPartDefAccess>(), "CompletePartAndPartDefAccess");
static_assert(isRecordInterface<PartForReportsAccess>(), "PartForReportsAccess");
static_assert(isRecordInterface<PinDataAccess>(), "PinDataAccess");
static_assert(isRecordInterface<PinEquivAccess>(), "PinEquivAccess");
static_assert(isRecordInterface<PinEquivDataAccess>(), "PinEquivDataAccess");
static_assert(isRecordInterface<GateAccess>(), "GateAccess");
static_assert(isRecordInterface<GateDataAccess>(), "GateDataAccess");
static_assert(isRecordInterface<GateSwapAccess>(), "GateSwapAccess");
static_assert(isRecordInterface<GateSwapGateAccess>(), "GateSwapGateAccess");
static_assert(isRecordInterface<GateSwapPinDataAccess>(), "GateSwapPinDataAccess");
static_assert(isRecordInterface<AttributeAccess>(), "AttributeAccess");
static_assert(isRecordInterface<AllAttributeAccess>(), "AllAttributeAccess");
static_assert(isRecordInterface<AllGateAccess>(), "AllGateAccess");
static_assert(isRecordInterface<AllGateSwapAccess>(), "AllGateSwapAccess");
static_assert(isRecordInterface<AllPinDataAccess>(), "AllPinDataAccess");
static_assert(isRecordInterface<AllPinEquivAccess>(), "AllPinEquivAccess");
static_assert(isRecordInterface<AllPinEquivDataAccess>(), "AllPinEquivDataAccess");
static_assert(isRecordInterface<PathData>(), "PathData");

static_assert(std::is_base_of<Subject<WriterEvent>, Writer<LibraryAccess>>::value, "a writer is a subject");
static_assert(std::is_abstract<Writer<LibHierarchyOnlyAccess>>::value, "write is abstract");
static_assert(std::is_same<CANCEL_CALLBACK, bool (*)()>::value, "cancel callback");
static_assert(std::is_same<hierarchyAccessHandle_t, std::shared_ptr<HierarchyAccess>>::value, "folder handle");
static_assert(std::is_same<libraryReaderHandle_t, std::shared_ptr<Reader<LibraryAccess>>>::value, "library reader");

} // namespace
