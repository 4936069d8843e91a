#include "ctraxdbpartlib/writers/UnchangedDetails.h"

#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "ctraxdbpartlib/readers/CTraxDBGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinDataReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinEquivReader.h"
#include "ctraxdbpartlib/writers/CTraxDBWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"
#include "interface/GateDataAccess.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/GateSwapPinDataAccess.h"
#include "interface/PinEquivDataAccess.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

constexpr size_t PIN_IDENTIFIER = bufferWidth("Pin_Data", "Pin_identifier");

// Hands every item of the reader to `take`, in order; false as soon as an
// item has another state than "write" or `take` refuses it. A member
// reader that is not there has no items.
template <class T, class Take> bool eachWritten(const std::shared_ptr<Reader<T>> &reader, Take take) {
    if (!reader)
        return true;
    while (std::shared_ptr<T> item = reader->getNext())
        if (reader->getItemState(item) != STATE_WRITE || !take(*item))
            return false;
    return true;
}

// Texts joined so that no two different lists give the same content.
void append(std::string &content, const std::string &text) {
    content += std::to_string(text.size());
    content += ':';
    content += text;
}

// A pin identifier a member names; false for none.
template <class Getter> bool identifier(std::string &content, Getter getter) {
    bool isNull = false;
    const std::string text = textOf<PIN_IDENTIFIER>([&](char *buffer, size_t size) { getter(isNull, buffer, size); });
    append(content, text);
    return !isNull;
}

bool groupsOf(const std::shared_ptr<Reader<PinEquivAccess>> &groups, std::string &content) {
    return eachWritten(groups, [&](PinEquivAccess &group) {
        // A group's pins are a set: the order they are named in is not stored.
        std::vector<std::string> pins;
        const bool named = eachWritten(group.getEquivilentPins(), [&](PinEquivDataAccess &pin) {
            std::string text;
            const bool ok = identifier(
                text, [&](bool &isNull, char *buffer, size_t size) { pin.getPinIdentifier(isNull, buffer, size); });
            pins.push_back(text);
            return ok;
        });
        std::sort(pins.begin(), pins.end());
        for (const std::string &pin : pins)
            content += pin;
        content += '|';
        return named;
    });
}

bool swapsOf(const std::shared_ptr<Reader<GateSwapAccess>> &swaps, std::string &content) {
    return eachWritten(swaps, [&](GateSwapAccess &swap) {
        append(content, textOf<bufferWidth("Gate_Equiv", "Name")>(
                            [&](char *buffer, size_t size) { swap.getName(buffer, size); }));
        const bool named = eachWritten(swap.getGateSwapGateReader(), [&](GateSwapGateAccess &gate) {
            int equivType = 0;
            gate.getEquivType(equivType);
            content += std::to_string(equivType) + '(';
            const bool pinsNamed = eachWritten(gate.getGateSwapPinDataReader(), [&](GateSwapPinDataAccess &pin) {
                return identifier(content, [&](bool &isNull, char *buffer, size_t size) {
                    pin.getPinIdentifier(isNull, buffer, size);
                });
            });
            content += ')';
            return pinsNamed;
        });
        content += '|';
        return named;
    });
}

bool gatesOf(const std::shared_ptr<Reader<GateAccess>> &gates, std::string &content) {
    return eachWritten(gates, [&](GateAccess &gate) {
        append(content,
               textOf<bufferWidth("Gate", "Name")>([&](char *buffer, size_t size) { gate.getName(buffer, size); }));
        bool isNull = false;
        append(content, textOf<bufferWidth("Gate", "Alt_name")>(
                            [&](char *buffer, size_t size) { gate.getAltName(isNull, buffer, size); }));
        content += isNull ? 'N' : 'V';
        const bool named = eachWritten(gate.getGateDataReader(), [&](GateDataAccess &pin) {
            bool create = false;
            const bool ok = identifier(content, [&](bool &noIdentifier, char *buffer, size_t size) {
                pin.getPinIdentifier(noIdentifier, buffer, size, create);
            });
            return ok && !create;
        });
        content += '|';
        return named;
    });
}

// Keeps the stored pins in `pins` when every pin the source delivers is
// stored under its exact identifier (so that none of them waits in the
// buffers for the members to find) and the stored identifiers are told
// apart by any engine; else leaves it empty.
bool pinsSettled(const std::shared_ptr<Reader<PinDataAccess>> &source, CTraxDBPinDataReader &stored, StoredPins &pins) {
    auto identifierOf = [](PinDataAccess &pin, bool &isNull) {
        return textOf<PIN_IDENTIFIER>([&](char *buffer, size_t size) { pin.getPinIdentifier(isNull, buffer, size); });
    };
    bool settled = true;
    while (std::shared_ptr<PinDataAccess> pin = stored.getNext()) {
        settled = settled && stored.getItemState(pin) == STATE_WRITE;
        bool isNull = false;
        std::string text = identifierOf(*pin, isNull);
        // A pin without identifier is named by no member. The reader makes
        // records of its own kind.
        if (!isNull)
            pins.add(std::move(text), std::static_pointer_cast<CTraxDBPinDataAccess>(pin));
    }
    settled = settled && pins.distinct() && eachWritten(source, [&](PinDataAccess &pin) {
                  bool isNull = false;
                  const std::string text = identifierOf(pin, isNull);
                  return !isNull && pins.find(text) != nullptr;
              });
    if (!settled)
        pins.clear();
    pins.rewind();
    return settled;
}

// Whether the source delivers the kind as the definition stores it. The
// stored kind is read only when the source's could be compared at all.
template <class StoredReader, class T, class Content>
bool same(const std::shared_ptr<Reader<T>> &source, pathHandle_t path, CTraxDBPartDefAccess &stored, Content content) {
    std::string mine, theirs;
    return source && content(source, mine) &&
           content(std::shared_ptr<Reader<T>>(std::make_shared<StoredReader>(path, stored)), theirs) && mine == theirs;
}

} // namespace

UnchangedDetails UnchangedDetails::of(pathHandle_t path, CTraxDBPartDefAccess &stored, PartDefAccess &source) {
    UnchangedDetails result;
    std::shared_ptr<Reader<PinEquivAccess>> groups = source.getPinEquivReader();
    std::shared_ptr<Reader<GateSwapAccess>> swaps = source.getGateSwapReader();
    std::shared_ptr<Reader<GateAccess>> gates = source.getGateReader();
    result.sourceGroups = groups != nullptr;
    result.sourceSwaps = swaps != nullptr;
    result.sourceGates = gates != nullptr;
    if (!groups && !swaps && !gates)
        return result;
    CTraxDBPinDataReader storedPins(path, stored);
    if (!pinsSettled(source.getPinDataReader(), storedPins, result.pins))
        return result;
    result.groups = same<CTraxDBPinEquivReader>(groups, path, stored, groupsOf);
    result.swaps = same<CTraxDBGateSwapReader>(swaps, path, stored, swapsOf);
    result.gates = same<CTraxDBGateReader>(gates, path, stored, gatesOf);
    return result;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
