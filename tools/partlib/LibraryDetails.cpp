// The details of a library's part definitions from the library-wide
// readers: one query per kind of detail for the whole library, merged with
// the definitions by definition ID.

#include "tools/partlib/LibraryExport.h"

#include "ctraxdbpartlib/readers/TextWidths.h"
#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/Commands.h"

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using hostmodel::nullableNumber;
using hostmodel::nullableText;
using hostmodel::number;
using hostmodel::text;

namespace textWidth = DBIMPL::textWidth;

// One library-wide reader with the record it has read ahead.
template <class T> class DetailStream {
public:
    DetailStream(std::shared_ptr<Reader<T>> reader, const char *what)
        : reader(opened(std::move(reader), what)), what(what) {
        advance();
    }
    // The next record if it belongs to the definition, else an empty handle.
    std::shared_ptr<T> take(int partDefID) {
        if (!next || nextDefinition > partDefID)
            return nullptr;
        if (nextDefinition < partDefID)
            fail(std::string("The ") + what + " of part definition " + std::to_string(nextDefinition) +
                 " do not come in the order of the definitions");
        std::shared_ptr<T> record = next;
        advance();
        return record;
    }
    void checkExhausted() const {
        if (next)
            fail(std::string("The ") + what + " of part definition " + std::to_string(nextDefinition) +
                 " belong to no definition of the library");
    }

private:
    void advance() {
        next = reader->getNext();
        if (next)
            next->getPartDefID(nextDefinition);
    }

    std::shared_ptr<Reader<T>> reader;
    const char *what;
    std::shared_ptr<T> next;
    int nextDefinition = 0;
};

class LibraryWideDetails : public DetailSource {
public:
    explicit LibraryWideDetails(LibraryAccess &library)
        : pins(library.getAllPinDataReader(""), "pins"),
          equivalences(library.getAllPinEquivReader(""), "pin equivalences"),
          gates(library.getAllGateReader(""), "gates"), swaps(library.getAllGateSwapReader(""), "gate swaps"),
          attributes(library.getAllAttributeReader(""), "attributes") {}

    void read(PartDefAccess &definition, DefinitionDetails &details) override {
        const int id = definition.getID();
        while (std::shared_ptr<AllPinDataAccess> pin = pins.take(id))
            details.pins.push_back(
                {nullableText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")>(*pin,
                                                                                 &AllPinDataAccess::getPinIdentifier),
                 nullableText<DBIMPL::bufferWidth("Pin_Data", "Name")>(*pin, &AllPinDataAccess::getName),
                 nullableText<DBIMPL::bufferWidth("Pin_Data", "Label")>(*pin, &AllPinDataAccess::getLabel),
                 nullableNumber(*pin, &AllPinDataAccess::getPosition), nullableNumber(*pin, &AllPinDataAccess::getType),
                 nullableNumber(*pin, &AllPinDataAccess::getLoading),
                 nullableText<textWidth::PIN_SIGNAL>(*pin, &AllPinDataAccess::getSignal),
                 nullableNumber(*pin, &AllPinDataAccess::getPinEquivGroupID)});

        while (std::shared_ptr<AllPinEquivAccess> row = equivalences.take(id)) {
            const int group = number(*row, &AllPinEquivAccess::getPinEquivID);
            if (details.pinEquivalences.empty() || details.pinEquivalences.back().id != group)
                details.pinEquivalences.push_back({group, {}});
            details.pinEquivalences.back().pins.push_back(
                nullableText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")>(*row,
                                                                                &AllPinEquivAccess::getPinIdentifier));
        }

        int gate = 0;
        while (std::shared_ptr<AllGateAccess> row = gates.take(id)) {
            if (details.gates.empty() || row->getID() != gate) {
                gate = row->getID();
                details.gates.push_back(
                    {text<DBIMPL::bufferWidth("Gate", "Name")>(*row, &AllGateAccess::getName),
                     nullableText<DBIMPL::bufferWidth("Gate", "Alt_name")>(*row, &AllGateAccess::getAltName),
                     {}});
            }
            details.gates.back().pins.push_back(nullableText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")>(
                *row, &AllGateAccess::getPinIdentifier));
        }
        // A gate without pins comes as one row without a pin identifier.
        for (GateRecord &record : details.gates)
            if (record.pins.size() == 1 && !record.pins.front())
                record.pins.clear();

        int group = 0, swapGate = 0;
        while (std::shared_ptr<AllGateSwapAccess> row = swaps.take(id)) {
            const bool newGroup = details.gateSwaps.empty() || row->getID() != group;
            if (newGroup) {
                group = row->getID();
                details.gateSwaps.push_back(
                    {text<DBIMPL::bufferWidth("Gate_Equiv", "Name")>(*row, &AllGateSwapAccess::getName), {}});
            }
            const int member = number(*row, &AllGateSwapAccess::getGateEquivGateID);
            if (newGroup || member != swapGate) {
                swapGate = member;
                details.gateSwaps.back().gates.push_back({number(*row, &AllGateSwapAccess::getEquivType), {}});
            }
            details.gateSwaps.back().gates.back().pins.push_back(
                nullableText<DBIMPL::bufferWidth("Pin_Data", "Pin_identifier")>(*row,
                                                                                &AllGateSwapAccess::getPinIdentifier));
        }

        while (std::shared_ptr<AllAttributeAccess> row = attributes.take(id))
            details.attributes.push_back(
                {text<textWidth::ATTRIBUTE_NAME>(*row, &AllAttributeAccess::getName),
                 text<DBIMPL::bufferWidth("Attributes", "Attribute_value")>(*row, &AllAttributeAccess::getValue),
                 number(*row, &AllAttributeAccess::getType), number(*row, &AllAttributeAccess::getReadOnly)});
    }

    void finish() override {
        pins.checkExhausted();
        equivalences.checkExhausted();
        gates.checkExhausted();
        swaps.checkExhausted();
        attributes.checkExhausted();
    }

private:
    DetailStream<AllPinDataAccess> pins;
    DetailStream<AllPinEquivAccess> equivalences;
    DetailStream<AllGateAccess> gates;
    DetailStream<AllGateSwapAccess> swaps;
    DetailStream<AllAttributeAccess> attributes;
};

} // namespace

Number groupIndexOf(const PinRecord &pin, const DefinitionDetails &content, const std::string &where) {
    if (!pin.equivGroupID)
        return std::nullopt;
    for (size_t i = 0; i < content.pinEquivalences.size(); ++i)
        if (content.pinEquivalences[i].id == *pin.equivGroupID)
            return static_cast<int>(i);
    fail("Pin " + pin.identifier.value_or("(no identifier)") + " of " + where + " belongs to pin-equivalence group " +
         std::to_string(*pin.equivGroupID) + ", which is not a group of that definition");
}

std::unique_ptr<DetailSource> libraryWideDetails(LibraryAccess &library) {
    return std::make_unique<LibraryWideDetails>(library);
}

} // namespace partlib
