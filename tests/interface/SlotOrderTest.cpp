#include "interface/PartLibInterface.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

// Hosts call the interfaces through their vtables: slot 0 is the destructor,
// then come the virtual functions in declared order, a derived interface's
// after its base's. The lists below are those orders; an interface grows
// only at its end, and its list with it.
//
// Under the Itanium C++ ABI the virtual destructor takes two vtable entries
// (complete and deleting), so slot k >= 1 is entry k + 1.

namespace {

// The vtable entry of Interface that a pointer to a virtual member function
// names, or -1 when the function is not virtual or is reached through a
// this-adjustment (a base other than the primary one, whose slots lie in
// another vtable). The pointer is converted to one to a member of Interface,
// which adds the adjustment of the base that declares the function.
template <class Interface, class Base, class Result, class... Args>
std::ptrdiff_t vtableEntry(Result (Base::*method)(Args...)) {
    Result (Interface::*const member)(Args...) = method;
    struct {
        std::ptrdiff_t pointer;
        std::ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof(member) == sizeof(raw), "an Itanium C++ ABI pointer to member function");
    std::memcpy(&raw, &member, sizeof raw);
    const auto entrySize = static_cast<std::ptrdiff_t>(sizeof(void *));
#if defined(__arm__) || defined(__aarch64__)
    // The ARM variant holds the entry's byte offset, and twice the
    // adjustment plus 1 for a virtual function.
    return raw.adjustment == 1 ? raw.pointer / entrySize : -1;
#else
    // The generic ABI holds 1 + the entry's byte offset and the adjustment.
    return raw.adjustment == 0 && (raw.pointer & 1) ? (raw.pointer - 1) / entrySize : -1;
#endif
}

struct Slot {
    const char *function;
    std::ptrdiff_t entry;
};

template <class Interface, class Method> Slot slotOf(const char *function, Method method) {
    return {function, vtableEntry<Interface>(method)};
}

#define SLOT(Interface, function) slotOf<Interface>(#function, &Interface::function)
// For an overloaded function: Type, a pointer-to-member type, picks the overload.
#define OVERLOAD(Interface, function, Type)                                                                            \
    slotOf<Interface>(#function " as " #Type, static_cast<Type>(&Interface::function))

// The interface with one virtual function more, which lands right after the
// interface's last.
template <class Interface> struct OneSlotMore : Interface {
    virtual void oneSlotMore() {}
};

// The interface's slots from 1 on are its base's, then its own, in list
// order, and it has no virtual function beyond them.
template <class Interface>
void expectSlots(const char *interface, const std::vector<Slot> &base, const std::vector<Slot> &own) {
    SCOPED_TRACE(interface);
    EXPECT_TRUE(std::has_virtual_destructor<Interface>::value) << "slot 0 is a virtual destructor";
    std::vector<Slot> slots = base;
    slots.insert(slots.end(), own.begin(), own.end());
    for (size_t index = 0; index < slots.size(); ++index) {
        const auto slot = static_cast<std::ptrdiff_t>(index) + 1;
        const auto entry = slot + 1;
        EXPECT_EQ(slots[index].entry, entry) << slots[index].function << " is to be slot " << slot << " (entry "
                                             << entry << "; -1: not virtual or not in the primary vtable)";
    }
    const auto count = static_cast<std::ptrdiff_t>(slots.size());
    EXPECT_EQ(vtableEntry<OneSlotMore<Interface>>(&OneSlotMore<Interface>::oneSlotMore), count + 2)
        << "virtual functions other than the " << count << " listed";
}

// The slots of the bases, taken through the interface that continues them:
// a base that is not the interface's primary one fails its checks.
template <class Record> std::vector<Slot> accessSlots() {
    return {
        SLOT(Record, getState),
    };
}

template <class Observed> std::vector<Slot> subjectSlots() {
    return {
        SLOT(Observed, attachAll),        SLOT(Observed, attach), SLOT(Observed, detach),
        SLOT(Observed, notifyProgress),   SLOT(Observed, notify), SLOT(Observed, getObserver),
        SLOT(Observed, getObserverCount),
    };
}

// Each template is checked in one instantiation: its slots do not depend on
// its argument.
using EventSubject = Subject<WriterEvent>;
using LibraryReader = Reader<LibraryAccess>;
using LibraryWriter = Writer<LibraryAccess>;
using EventObserver = Observer<WriterEvent>;
using PartFilterNode = Component<PartFilter>;
using PartFilterVisitor = Visitor<PartFilter>;

// The overloads of LibraryAccess.
using PartReader = std::shared_ptr<Reader<PartAccess>>;
using PartDefReader = std::shared_ptr<Reader<PartDefAccess>>;
using PartsByText = PartReader (LibraryAccess::*)(const TCHAR *, int);
using PartsByFilter = PartReader (LibraryAccess::*)(partFilterCompHandle_t, int);
using PartDefsByFilter = PartDefReader (LibraryAccess::*)(partDefFilterHandle_t, int);
using PartDefsBySelection = PartDefReader (LibraryAccess::*)(int);

TEST(SlotOrderTest, AccessLibrariesAndFolders) {
    expectSlots<Access>("Access", {}, accessSlots<Access>());
    expectSlots<LibraryAccess>("LibraryAccess", accessSlots<LibraryAccess>(),
                               {
                                   SLOT(LibraryAccess, getName),
                                   SLOT(LibraryAccess, getEnabled),
                                   SLOT(LibraryAccess, getComment),
                                   SLOT(LibraryAccess, setHint),
                                   SLOT(LibraryAccess, setHints),
                                   SLOT(LibraryAccess, getHierarchyReader),
                                   SLOT(LibraryAccess, getHierarchyOnlyReader),
                                   SLOT(LibraryAccess, getHierarchyElementReader),
                                   OVERLOAD(LibraryAccess, getPartReader, PartsByText),
                                   OVERLOAD(LibraryAccess, getPartReader, PartsByFilter),
                                   SLOT(LibraryAccess, getCompletePartAndPartDefReader),
                                   SLOT(LibraryAccess, getPartReaderForReports),
                                   OVERLOAD(LibraryAccess, getPartDefReader, PartDefsByFilter),
                                   OVERLOAD(LibraryAccess, getPartDefReader, PartDefsBySelection),
                                   SLOT(LibraryAccess, getPartDefDataReader),
                                   SLOT(LibraryAccess, getAllPinDataReader),
                                   SLOT(LibraryAccess, getAllPinEquivReader),
                                   SLOT(LibraryAccess, getAllAttributeReader),
                                   SLOT(LibraryAccess, getAllGateReader),
                                   SLOT(LibraryAccess, getAllGateSwapReader),
                                   SLOT(LibraryAccess, getID),
                                   SLOT(LibraryAccess, getStoredEnabled),
                               });
    expectSlots<LibHierarchyOnlyAccess>("LibHierarchyOnlyAccess", accessSlots<LibHierarchyOnlyAccess>(),
                                        {
                                            SLOT(LibHierarchyOnlyAccess, getName),
                                            SLOT(LibHierarchyOnlyAccess, getEnabled),
                                            SLOT(LibHierarchyOnlyAccess, getComment),
                                            SLOT(LibHierarchyOnlyAccess, getHierarchyReader),
                                            SLOT(LibHierarchyOnlyAccess, getHierarchyElementReader),
                                            SLOT(LibHierarchyOnlyAccess, getID),
                                        });
    expectSlots<HierarchyAccess>("HierarchyAccess", accessSlots<HierarchyAccess>(),
                                 {
                                     SLOT(HierarchyAccess, getName),
                                     SLOT(HierarchyAccess, getParent),
                                     SLOT(HierarchyAccess, getHierarchyChildReader),
                                     SLOT(HierarchyAccess, getPartReader),
                                     SLOT(HierarchyAccess, getPosition),
                                     SLOT(HierarchyAccess, getParentID),
                                     SLOT(HierarchyAccess, getID),
                                     SLOT(HierarchyAccess, getParentName),
                                     SLOT(HierarchyAccess, getLibID),
                                 });
}

TEST(SlotOrderTest, PartAndDefinitionRecords) {
    expectSlots<PartAccess>("PartAccess", accessSlots<PartAccess>(),
                            {
                                SLOT(PartAccess, getName),
                                SLOT(PartAccess, getNumber),
                                SLOT(PartAccess, getLibraryNumber),
                                SLOT(PartAccess, getVersion),
                                SLOT(PartAccess, getDescription),
                                SLOT(PartAccess, getPSpice),
                                SLOT(PartAccess, getPartAcceptance),
                                SLOT(PartAccess, getPartHierarchy),
                                SLOT(PartAccess, getPartPartDefn),
                                SLOT(PartAccess, getPartDefID),
                                SLOT(PartAccess, getHierarchyPosition),
                                SLOT(PartAccess, getPartDefPosition),
                                SLOT(PartAccess, getPartType),
                                SLOT(PartAccess, getLibraryPath),
                            });
    expectSlots<PartForReportsAccess>("PartForReportsAccess", accessSlots<PartForReportsAccess>(),
                                      {
                                          SLOT(PartForReportsAccess, getName),
                                          SLOT(PartForReportsAccess, getNumber),
                                          SLOT(PartForReportsAccess, getVersion),
                                          SLOT(PartForReportsAccess, getHierarchyID),
                                          SLOT(PartForReportsAccess, getDescription),
                                          SLOT(PartForReportsAccess, getPCBCompName),
                                          SLOT(PartForReportsAccess, getHierrachyName),
                                          SLOT(PartForReportsAccess, getHierrachyFullName),
                                          SLOT(PartForReportsAccess, getPartHierarchy),
                                      });
    expectSlots<CompletePartAndPartDefAccess>("CompletePartAndPartDefAccess",
                                              accessSlots<CompletePartAndPartDefAccess>(),
                                              {
                                                  SLOT(CompletePartAndPartDefAccess, getName),
                                                  SLOT(CompletePartAndPartDefAccess, getNumber),
                                                  SLOT(CompletePartAndPartDefAccess, getLibraryNumber),
                                                  SLOT(CompletePartAndPartDefAccess, getVersion),
                                                  SLOT(CompletePartAndPartDefAccess, getDescription),
                                                  SLOT(CompletePartAndPartDefAccess, getPSpice),
                                                  SLOT(CompletePartAndPartDefAccess, getPartAcceptance),
                                                  SLOT(CompletePartAndPartDefAccess, getPartDefName),
                                                  SLOT(CompletePartAndPartDefAccess, getPCBCompName),
                                                  SLOT(CompletePartAndPartDefAccess, getPCBCompAltName),
                                                  SLOT(CompletePartAndPartDefAccess, getValue),
                                                  SLOT(CompletePartAndPartDefAccess, getGateSwapping),
                                                  SLOT(CompletePartAndPartDefAccess, getPinNumName),
                                                  SLOT(CompletePartAndPartDefAccess, getIsFPGA),
                                                  SLOT(CompletePartAndPartDefAccess, getCompNameStem),
                                                  SLOT(CompletePartAndPartDefAccess, getMaxConnectorPins),
                                                  SLOT(CompletePartAndPartDefAccess, getPartDefPSpice),
                                                  SLOT(CompletePartAndPartDefAccess, getPartHierarchy),
                                                  SLOT(CompletePartAndPartDefAccess, getPartPartDefn),
                                                  SLOT(CompletePartAndPartDefAccess, getHierarchyPosition),
                                                  SLOT(CompletePartAndPartDefAccess, getPartDefPosition),
                                                  SLOT(CompletePartAndPartDefAccess, getPinDataReader),
                                                  SLOT(CompletePartAndPartDefAccess, getPinEquivReader),
                                                  SLOT(CompletePartAndPartDefAccess, getGateSwapReader),
                                                  SLOT(CompletePartAndPartDefAccess, getAttributesReader),
                                                  SLOT(CompletePartAndPartDefAccess, getGateReader),
                                                  SLOT(CompletePartAndPartDefAccess, getPosition),
                                                  SLOT(CompletePartAndPartDefAccess, getPartDefID),
                                              });
    expectSlots<PartDefAccess>("PartDefAccess", accessSlots<PartDefAccess>(),
                               {
                                   SLOT(PartDefAccess, getName),
                                   SLOT(PartDefAccess, getPCBCompName),
                                   SLOT(PartDefAccess, getPCBCompAltName),
                                   SLOT(PartDefAccess, getValue),
                                   SLOT(PartDefAccess, getGateSwapping),
                                   SLOT(PartDefAccess, getPinNumName),
                                   SLOT(PartDefAccess, getIsFPGA),
                                   SLOT(PartDefAccess, getCompNameStem),
                                   SLOT(PartDefAccess, getMaxConnectorPins),
                                   SLOT(PartDefAccess, getPSpice),
                                   SLOT(PartDefAccess, getPinDataReader),
                                   SLOT(PartDefAccess, getPinEquivReader),
                                   SLOT(PartDefAccess, getGateSwapReader),
                                   SLOT(PartDefAccess, getAttributesReader),
                                   SLOT(PartDefAccess, getGateReader),
                                   SLOT(PartDefAccess, getPartReader),
                                   SLOT(PartDefAccess, getPosition),
                                   SLOT(PartDefAccess, getLibID),
                                   SLOT(PartDefAccess, getID),
                                   SLOT(PartDefAccess, getStoredFlags),
                                   SLOT(PartDefAccess, getStoredMaxConnectorPins),
                               });
    expectSlots<PartDefDataAccess>("PartDefDataAccess", accessSlots<PartDefDataAccess>(),
                                   {
                                       SLOT(PartDefDataAccess, getName),
                                       SLOT(PartDefDataAccess, getPCBCompName),
                                       SLOT(PartDefDataAccess, getPCBCompAltName),
                                       SLOT(PartDefDataAccess, getValue),
                                       SLOT(PartDefDataAccess, getGateSwapping),
                                       SLOT(PartDefDataAccess, getPinNumName),
                                       SLOT(PartDefDataAccess, getIsFPGA),
                                       SLOT(PartDefDataAccess, getCompNameStem),
                                       SLOT(PartDefDataAccess, getMaxConnectorPins),
                                       SLOT(PartDefDataAccess, getPSpice),
                                       SLOT(PartDefDataAccess, getPartDefID),
                                       SLOT(PartDefDataAccess, getPosition),
                                       SLOT(PartDefDataAccess, getLibID),
                                       SLOT(PartDefDataAccess, getID),
                                   });
    expectSlots<AttributeAccess>("AttributeAccess", accessSlots<AttributeAccess>(),
                                 {
                                     SLOT(AttributeAccess, getName),
                                     SLOT(AttributeAccess, getValue),
                                     SLOT(AttributeAccess, getType),
                                     SLOT(AttributeAccess, getReadOnly),
                                     SLOT(AttributeAccess, getStoredReadOnly),
                                 });
}

TEST(SlotOrderTest, PinAndGateRecords) {
    expectSlots<PinDataAccess>("PinDataAccess", accessSlots<PinDataAccess>(),
                               {
                                   SLOT(PinDataAccess, getPinIdentifier),
                                   SLOT(PinDataAccess, getPinNumber),
                                   SLOT(PinDataAccess, getName),
                                   SLOT(PinDataAccess, getLabel),
                                   SLOT(PinDataAccess, getPosition),
                                   SLOT(PinDataAccess, getType),
                                   SLOT(PinDataAccess, getLoading),
                                   SLOT(PinDataAccess, getSignal),
                               });
    expectSlots<PinEquivAccess>("PinEquivAccess", accessSlots<PinEquivAccess>(),
                                {
                                    SLOT(PinEquivAccess, getEquivIndex),
                                    SLOT(PinEquivAccess, getEquivilentPins),
                                    SLOT(PinEquivAccess, getID),
                                });
    expectSlots<PinEquivDataAccess>("PinEquivDataAccess", accessSlots<PinEquivDataAccess>(),
                                    {
                                        SLOT(PinEquivDataAccess, getEquivIndex),
                                        SLOT(PinEquivDataAccess, getPinIdentifier),
                                    });
    expectSlots<GateAccess>("GateAccess", accessSlots<GateAccess>(),
                            {
                                SLOT(GateAccess, getIndex),
                                SLOT(GateAccess, getName),
                                SLOT(GateAccess, getAltName),
                                SLOT(GateAccess, getGateDataReader),
                                SLOT(GateAccess, getID),
                            });
    expectSlots<GateDataAccess>("GateDataAccess", accessSlots<GateDataAccess>(),
                                {
                                    SLOT(GateDataAccess, getIndex),
                                    SLOT(GateDataAccess, getPinIdentifier),
                                });
    expectSlots<GateSwapAccess>("GateSwapAccess", accessSlots<GateSwapAccess>(),
                                {
                                    SLOT(GateSwapAccess, getIndex),
                                    SLOT(GateSwapAccess, getName),
                                    SLOT(GateSwapAccess, getGateSwapGateReader),
                                    SLOT(GateSwapAccess, getID),
                                });
    expectSlots<GateSwapGateAccess>("GateSwapGateAccess", accessSlots<GateSwapGateAccess>(),
                                    {
                                        SLOT(GateSwapGateAccess, getIndex),
                                        SLOT(GateSwapGateAccess, getEquivType),
                                        SLOT(GateSwapGateAccess, getGateSwapPinDataReader),
                                        SLOT(GateSwapGateAccess, getID),
                                    });
    expectSlots<GateSwapPinDataAccess>("GateSwapPinDataAccess", accessSlots<GateSwapPinDataAccess>(),
                                       {
                                           SLOT(GateSwapPinDataAccess, getIndex),
                                           SLOT(GateSwapPinDataAccess, getPinIdentifier),
                                       });
}

TEST(SlotOrderTest, LibraryWideRecords) {
    expectSlots<AllAttributeAccess>("AllAttributeAccess", accessSlots<AllAttributeAccess>(),
                                    {
                                        SLOT(AllAttributeAccess, getName),
                                        SLOT(AllAttributeAccess, getValue),
                                        SLOT(AllAttributeAccess, getType),
                                        SLOT(AllAttributeAccess, getPartDefID),
                                        SLOT(AllAttributeAccess, getReadOnly),
                                    });
    expectSlots<AllGateAccess>("AllGateAccess", accessSlots<AllGateAccess>(),
                               {
                                   SLOT(AllGateAccess, getIndex),
                                   SLOT(AllGateAccess, getName),
                                   SLOT(AllGateAccess, getAltName),
                                   SLOT(AllGateAccess, getPartDefID),
                                   SLOT(AllGateAccess, getPinIdentifier),
                                   SLOT(AllGateAccess, getID),
                                   SLOT(AllGateAccess, getGateDataReader),
                               });
    expectSlots<AllGateSwapAccess>("AllGateSwapAccess", accessSlots<AllGateSwapAccess>(),
                                   {
                                       SLOT(AllGateSwapAccess, getIndex),
                                       SLOT(AllGateSwapAccess, getName),
                                       SLOT(AllGateSwapAccess, getPartDefID),
                                       SLOT(AllGateSwapAccess, getEquivType),
                                       SLOT(AllGateSwapAccess, getPinIdentifier),
                                       SLOT(AllGateSwapAccess, getID),
                                       SLOT(AllGateSwapAccess, getGateEquivGateID),
                                       SLOT(AllGateSwapAccess, getGateSwapGateReader),
                                   });
    expectSlots<AllPinDataAccess>("AllPinDataAccess", accessSlots<AllPinDataAccess>(),
                                  {
                                      SLOT(AllPinDataAccess, getPinIdentifier),
                                      SLOT(AllPinDataAccess, getName),
                                      SLOT(AllPinDataAccess, getLabel),
                                      SLOT(AllPinDataAccess, getPosition),
                                      SLOT(AllPinDataAccess, getType),
                                      SLOT(AllPinDataAccess, getLoading),
                                      SLOT(AllPinDataAccess, getSignal),
                                      SLOT(AllPinDataAccess, getPartDefID),
                                      SLOT(AllPinDataAccess, getPinEquivGroupID),
                                  });
    expectSlots<AllPinEquivAccess>("AllPinEquivAccess", accessSlots<AllPinEquivAccess>(),
                                   {
                                       SLOT(AllPinEquivAccess, getEquivIndex),
                                       SLOT(AllPinEquivAccess, getPartDefID),
                                       SLOT(AllPinEquivAccess, getPinIdentifier),
                                       SLOT(AllPinEquivAccess, getPinEquivID),
                                       SLOT(AllPinEquivAccess, getID),
                                   });
    expectSlots<AllPinEquivDataAccess>("AllPinEquivDataAccess", accessSlots<AllPinEquivDataAccess>(),
                                       {
                                           SLOT(AllPinEquivDataAccess, getEquivIndex),
                                           SLOT(AllPinEquivDataAccess, getPinIdentifier),
                                       });
}

TEST(SlotOrderTest, PathsReadersAndWriters) {
    expectSlots<Path>("Path", {},
                      {
                          SLOT(Path, getPathStr),
                          SLOT(Path, startTransaction),
                          SLOT(Path, commitTransation),
                          SLOT(Path, abortTransaction),
                          SLOT(Path, isReadOnly),
                      });
    expectSlots<PathData>("PathData", accessSlots<PathData>(),
                          {
                              SLOT(PathData, getPathStr),
                              SLOT(PathData, getPathInitialisationStr),
                          });
    expectSlots<LibraryReader>("Reader<LibraryAccess>", {},
                               {
                                   SLOT(LibraryReader, getNext),
                                   SLOT(LibraryReader, getItemState),
                                   SLOT(LibraryReader, getCount),
                               });
    expectSlots<EventSubject>("Subject<WriterEvent>", {}, subjectSlots<EventSubject>());
    expectSlots<LibraryWriter>("Writer<LibraryAccess>", subjectSlots<LibraryWriter>(),
                               {
                                   SLOT(LibraryWriter, write),
                               });
    expectSlots<EventObserver>("Observer<WriterEvent>", {},
                               {
                                   SLOT(EventObserver, update),
                               });
}

TEST(SlotOrderTest, FilterTrees) {
    expectSlots<PartFilterNode>("Component<PartFilter>", {},
                                {
                                    SLOT(PartFilterNode, getData),
                                    SLOT(PartFilterNode, getChildren),
                                    SLOT(PartFilterNode, reserved),
                                    SLOT(PartFilterNode, accept),
                                });
    expectSlots<PartFilterVisitor>("Visitor<PartFilter>", {},
                                   {
                                       SLOT(PartFilterVisitor, visit),
                                       SLOT(PartFilterVisitor, visitComposite),
                                       SLOT(PartFilterVisitor, visitChildren),
                                   });
}

// These classes carry data or serve as tokens; the destructor is their one
// virtual function.
TEST(SlotOrderTest, ClassesWithOnlyADestructor) {
    expectSlots<Source>("Source", {}, {});
    expectSlots<Exception>("Exception", {}, {});
    expectSlots<WriterEvent>("WriterEvent", {}, {});
    expectSlots<LibFilter>("LibFilter", {}, {});
    expectSlots<PartDefFilter>("PartDefFilter", {}, {});
    expectSlots<PartFilter>("PartFilter", {}, {});
}

} // namespace
