#include "tools/hostmodel/HostRecords.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "interface/PartLibInterface.h"

#include <algorithm>
#include <cstring>

namespace hostmodel {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

// The selection values of the library writer's two passes.
constexpr int DEFINITIONS_FIRST_PASS = 3, DEFINITIONS_SECOND_PASS = 252;
constexpr int PARTS_FIRST_PASS = 82, PARTS_SECOND_PASS = 173;

// The text cut to size - 1 bytes and terminated; no buffer, or one without
// room for the terminator, receives nothing.
// A text longer than the buffer is cut before the character that does not
// fit, never inside it.
void copyText(const std::string &text, TCHAR *buffer, size_t size) {
    if (!buffer || size == 0)
        return;
    const size_t length = text.size() < size ? text.size() : DBIMPL::fitted(text, size - 1).size();
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// A NULL text leaves the buffer as it was.
void copyText(const Text &text, bool &isNull, TCHAR *buffer, size_t size) {
    isNull = !text;
    if (text)
        copyText(*text, buffer, size);
}

// A NULL number leaves the integer as it was.
void copyNumber(const Number &number, bool &isNull, int &value) {
    isNull = !number;
    if (number)
        value = *number;
}

// Whether a reader asked for with `selection` delivers an item: everything,
// unless the library splits its items over the passes `first` and `second`.
bool selected(const Library &library, bool secondPass, int selection, int first, int second) {
    if (library.selection == SelectionMode::Ignore)
        return true;
    if (selection == first)
        return !secondPass;
    if (selection == second)
        return secondPass;
    return true;
}

// A record over one item of the model, which lives as long as the record
// holds `item`. `index` is the item's position in its list, or the position
// that the record reports (-1 for items made up outside the model).
template <class TInterface, class TItem> class Record : public TInterface {
public:
    using Interface = TInterface;
    Record(std::shared_ptr<const TItem> item, int index) : item(std::move(item)), index(index) {}
    int getState() override { return item->state; }

protected:
    std::shared_ptr<const TItem> item;
    int index;
};

// A reader over the records `make` (item, index) makes of the items that
// `keep` lets through; the items live as long as `owner`.
template <class T, class Item, class Make, class Keep>
std::shared_ptr<Reader<T>> readerOver(const std::shared_ptr<const void> &owner, const std::vector<Item> &items,
                                      Make make, Keep keep) {
    std::vector<std::shared_ptr<T>> records;
    for (size_t i = 0; i < items.size(); ++i)
        if (keep(items[i]))
            records.push_back(make(std::shared_ptr<const Item>(owner, &items[i]), static_cast<int>(i)));
    return std::make_shared<VectorReader<T>>(std::move(records));
}

// A reader over records of class R, one for every item.
template <class R, class Item>
std::shared_ptr<Reader<typename R::Interface>> readerOver(const std::shared_ptr<const void> &owner,
                                                          const std::vector<Item> &items) {
    return readerOver<typename R::Interface>(
        owner, items, [](std::shared_ptr<const Item> item, int index) { return std::make_shared<R>(item, index); },
        [](const Item &) { return true; });
}

class PinRecord : public Record<PinDataAccess, Pin> {
public:
    using Record::Record;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->identifier, isNull, buffer, size);
    }
    void getPinNumber(bool &isNull, TCHAR *buffer, size_t size) override { getPinIdentifier(isNull, buffer, size); }
    void getName(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->name, isNull, buffer, size); }
    void getLabel(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->label, isNull, buffer, size); }
    void getPosition(bool &isNull, int &position) override { copyNumber(item->position, isNull, position); }
    void getType(bool &isNull, int &type) override { copyNumber(item->type, isNull, type); }
    void getLoading(bool &isNull, int &loading) override { copyNumber(item->loading, isNull, loading); }
    void getSignal(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->signal, isNull, buffer, size); }
};

class EquivalentPinRecord : public Record<PinEquivDataAccess, PinRef> {
public:
    using Record::Record;
    void getEquivIndex(int &value) override { value = index; }
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->identifier, isNull, buffer, size);
    }
};

class PinEquivRecord : public Record<PinEquivAccess, PinEquivalence> {
public:
    using Record::Record;
    void getEquivIndex(int &value) override { value = index; }
    std::shared_ptr<Reader<PinEquivDataAccess>> getEquivilentPins() override {
        return readerOver<EquivalentPinRecord>(item, item->pins);
    }
    int getID() override { return -1; }
};

class GatePinRecord : public Record<GateDataAccess, GatePin> {
public:
    using Record::Record;
    void getIndex(int &value) override { value = index; }
    // The flag reports whether the writer is to create the pin.
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size, bool &create) override {
        copyText(item->identifier, isNull, buffer, size);
        create = item->create;
    }
};

class GateRecord : public Record<GateAccess, Gate> {
public:
    using Record::Record;
    void getIndex(int &value) override { value = index; }
    void getName(TCHAR *buffer, size_t size) override { copyText(item->name, buffer, size); }
    void getAltName(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->altName, isNull, buffer, size);
    }
    std::shared_ptr<Reader<GateDataAccess>> getGateDataReader() override {
        return readerOver<GatePinRecord>(item, item->pins);
    }
    int getID() override { return -1; }
};

class SwapPinRecord : public Record<GateSwapPinDataAccess, PinRef> {
public:
    using Record::Record;
    void getIndex(int &value) override { value = index; }
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->identifier, isNull, buffer, size);
    }
};

class SwapGateRecord : public Record<GateSwapGateAccess, SwapGate> {
public:
    using Record::Record;
    void getIndex(int &value) override { value = index; }
    void getEquivType(int &equivType) override { equivType = item->equivType; }
    std::shared_ptr<Reader<GateSwapPinDataAccess>> getGateSwapPinDataReader() override {
        return readerOver<SwapPinRecord>(item, item->pins);
    }
    int getID() override { return -1; }
};

class GateSwapRecord : public Record<GateSwapAccess, GateSwap> {
public:
    using Record::Record;
    void getIndex(int &value) override { value = index; }
    void getName(TCHAR *buffer, size_t size) override { copyText(item->name, buffer, size); }
    std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() override {
        return readerOver<SwapGateRecord>(item, item->gates);
    }
    int getID() override { return -1; }
};

class AttributeRecord : public Record<AttributeAccess, Attribute> {
public:
    using Record::Record;
    void getName(TCHAR *buffer, size_t size, bool) override { copyText(item->name, buffer, size); }
    void getValue(TCHAR *buffer, size_t size) override { copyText(item->value, buffer, size); }
    void getType(int &usageType) override { usageType = item->usageType; }
    void getReadOnly(int &readOnly) override { readOnly = item->readOnly; }
};

// A definition; its position is its index in the library's list.
class PartDefRecord : public Record<PartDefAccess, PartDefinition> {
public:
    using Record::Record;
    void getName(TCHAR *buffer, size_t size, bool) override { copyText(item->name, buffer, size); }
    void getPCBCompName(TCHAR *buffer, size_t size) override { copyText(item->pcbComponentName, buffer, size); }
    void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->pcbAlternateName, isNull, buffer, size);
    }
    void getValue(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->value, isNull, buffer, size); }
    void getGateSwapping(bool &value) override { value = item->gateSwapping; }
    void getPinNumName(bool &value) override { value = item->pinNumName; }
    void getIsFPGA(bool &value) override { value = item->isFPGA; }
    void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->componentNameStem, isNull, buffer, size);
    }
    void getMaxConnectorPins(int &value) override { value = item->maxConnectorPins; }
    void getPSpice(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->pspice, isNull, buffer, size); }
    std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() override {
        return item->details ? readerOver<PinRecord>(item, item->pins) : nullptr;
    }
    std::shared_ptr<Reader<PinEquivAccess>> getPinEquivReader() override {
        return item->details ? readerOver<PinEquivRecord>(item, item->pinEquivalences) : nullptr;
    }
    std::shared_ptr<Reader<GateSwapAccess>> getGateSwapReader() override {
        return item->details ? readerOver<GateSwapRecord>(item, item->gateSwaps) : nullptr;
    }
    std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() override {
        return item->details ? readerOver<AttributeRecord>(item, item->attributes) : nullptr;
    }
    std::shared_ptr<Reader<GateAccess>> getGateReader() override {
        return item->details ? readerOver<GateRecord>(item, item->gates) : nullptr;
    }
    // A host has no part filters, and the writers do not ask a definition
    // for its parts: no reader.
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t) override { return nullptr; }
    void getPosition(int &position) override { position = index; }
    int getLibID() override { return -1; }
    int getID() override { return -1; }
};

// The number of the folders in the list and below them.
int folderCount(const std::vector<Folder> &folders) {
    int count = 0;
    for (const Folder &folder : folders)
        count += 1 + folderCount(folder.children);
    return count;
}

// The depth-first numbers of the folders of one list, the first one's being
// `first`: each folder is followed by all folders below it.
std::vector<int> positionsOf(const std::vector<Folder> &folders, int first) {
    std::vector<int> positions;
    for (const Folder &folder : folders) {
        positions.push_back(first);
        first += 1 + folderCount(folder.children);
    }
    return positions;
}

// A folder; its position is its depth-first number in the library's tree.
class FolderRecord : public Record<HierarchyAccess, Folder>, public std::enable_shared_from_this<FolderRecord> {
public:
    FolderRecord(std::shared_ptr<const Folder> item, int position, std::shared_ptr<FolderRecord> parent)
        : Record(std::move(item), position), parent(std::move(parent)) {}

    void getName(TCHAR *buffer, size_t size, bool) override { copyText(item->name, buffer, size); }
    hierarchyAccessHandle_t getParent() override { return parent; }
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyChildReader() override {
        return readerOf(item, item->children, index + 1, shared_from_this());
    }
    // A host has no part filters, and the writers do not ask a folder for
    // its parts: no reader.
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t) override { return nullptr; }
    void getPosition(int &position) override { position = index; }
    // No keys: a folder at the top reports NULL (0), any other -1.
    void getParentID(bool &isNull, int &parentID) override {
        isNull = !parent;
        parentID = parent ? -1 : 0;
    }
    int getID() override { return -1; }
    // Only the database's hierarchy-only reader fills this in.
    void getParentName(bool &isNull, TCHAR *, size_t) override { isNull = true; }
    int getLibID() override { return -1; }

    // The folders of one list, numbered from `first`, below `parent`.
    static std::shared_ptr<Reader<HierarchyAccess>> readerOf(const std::shared_ptr<const void> &owner,
                                                             const std::vector<Folder> &folders, int first,
                                                             const std::shared_ptr<FolderRecord> &parent) {
        const std::vector<int> positions = positionsOf(folders, first);
        return readerOver<HierarchyAccess>(
            owner, folders,
            [&](std::shared_ptr<const Folder> folder, int i) {
                return std::make_shared<FolderRecord>(std::move(folder), positions[i], parent);
            },
            [](const Folder &) { return true; });
    }

private:
    std::shared_ptr<FolderRecord> parent;
};

// The record of the folder at `path`: the model's folders as far as the path
// names them, then folders made up of the names (position -1), which a
// writer looks up by name; an empty handle for an empty path.
std::shared_ptr<FolderRecord> folderAt(const std::shared_ptr<const Library> &library,
                                       const std::vector<std::string> &path) {
    std::shared_ptr<FolderRecord> record;
    const std::vector<Folder> *level = &library->folders;
    int first = 0;
    for (const std::string &name : path) {
        std::shared_ptr<const Folder> folder;
        int position = -1;
        if (level) {
            const std::vector<int> positions = positionsOf(*level, first);
            auto found = std::find_if(level->begin(), level->end(), [&](const Folder &f) { return f.name == name; });
            if (found != level->end()) {
                folder = std::shared_ptr<const Folder>(library, &*found);
                position = positions[found - level->begin()];
            }
        }
        if (folder) {
            level = &folder->children;
            first = position + 1;
        } else {
            level = nullptr;
            folder = std::make_shared<const Folder>(Folder{name});
        }
        record = std::make_shared<FolderRecord>(folder, position, record);
    }
    return record;
}

// The record of the library's first definition of that name, or of one made
// up of the name (position -1), which a writer looks up by name.
std::shared_ptr<PartDefRecord> definitionNamed(const std::shared_ptr<const Library> &library, const std::string &name) {
    const std::vector<PartDefinition> &definitions = library->definitions;
    auto found = std::find_if(definitions.begin(), definitions.end(),
                              [&](const PartDefinition &definition) { return definition.name == name; });
    if (found != definitions.end())
        return std::make_shared<PartDefRecord>(std::shared_ptr<const PartDefinition>(library, &*found),
                                               static_cast<int>(found - definitions.begin()));
    PartDefinition madeUp;
    madeUp.name = name;
    return std::make_shared<PartDefRecord>(std::make_shared<const PartDefinition>(std::move(madeUp)), -1);
}

class PartRecord : public Record<PartAccess, Part> {
public:
    PartRecord(std::shared_ptr<const Part> item, int index, std::shared_ptr<const Library> library)
        : Record(std::move(item), index), library(std::move(library)) {}

    void getName(TCHAR *buffer, size_t size, bool) override { copyText(item->name, buffer, size); }
    void getNumber(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->number, isNull, buffer, size); }
    void getLibraryNumber(int *libraryID) override {
        if (libraryID)
            *libraryID = -1;
    }
    void getVersion(bool &isNull, int &version) override { copyNumber(item->version, isNull, version); }
    void getDescription(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->description, isNull, buffer, size);
    }
    void getPSpice(bool &isNull, TCHAR *buffer, size_t size) override { copyText(item->pspice, isNull, buffer, size); }
    void getPartAcceptance(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(item->acceptance, isNull, buffer, size);
    }
    hierarchyAccessHandle_t getPartHierarchy() override { return folderAt(library, item->folder); }
    std::shared_ptr<PartDefAccess> getPartPartDefn() override { return definitionNamed(library, item->definition); }
    void getPartDefID(int &partDefID) override { partDefID = -1; }
    void getHierarchyPosition(int &position) override {
        position = -1;
        if (std::shared_ptr<FolderRecord> folder = folderAt(library, item->folder))
            folder->getPosition(position);
    }
    void getPartDefPosition(int &position) override {
        definitionNamed(library, item->definition)->getPosition(position);
    }
    // NULL sets -1, as the database's part records do.
    void getPartType(bool &isNull, int &partType) override {
        partType = -1;
        copyNumber(item->type, isNull, partType);
    }
    // The host's own library files are not the plug-in's business.
    void getLibraryPath(int &libraryPath) override { libraryPath = -1; }

private:
    std::shared_ptr<const Library> library;
};

std::shared_ptr<Reader<PartAccess>> partReader(const std::shared_ptr<const Library> &library, int selection) {
    return readerOver<PartAccess>(
        library, library->parts,
        [&](std::shared_ptr<const Part> part, int index) { return std::make_shared<PartRecord>(part, index, library); },
        [&](const Part &part) {
            return selected(*library, part.secondPass, selection, PARTS_FIRST_PASS, PARTS_SECOND_PASS);
        });
}

// What both library interfaces answer.
template <class TInterface> class LibraryRecord : public Record<TInterface, Library> {
public:
    LibraryRecord(std::shared_ptr<const Library> library, int index)
        : Record<TInterface, Library>(std::move(library), index) {}

    void getName(TCHAR *buffer, size_t size, bool) override { copyText(this->item->name, buffer, size); }
    void getEnabled(bool &enabled) override { enabled = this->item->enabled; }
    void getComment(bool &isNull, TCHAR *buffer, size_t size) override {
        copyText(this->item->comment, isNull, buffer, size);
    }
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() override {
        return FolderRecord::readerOf(this->item, this->item->folders, 0, nullptr);
    }
    // Every part: the placement that the hierarchy-only writer copies.
    std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() override { return partReader(this->item, 0); }
    int getID() override { return -1; }
};

// Readers that a host cannot offer or the writers never ask for (filtered,
// library-wide and report readers) are empty handles.
class LibraryAccessRecord : public LibraryRecord<LibraryAccess> {
public:
    using LibraryRecord::LibraryRecord;
    void setHint(int, int) override {}
    void setHints(int, int, int, int) override {}
    // The database's reader of folders with one of their parts each; a host
    // gives the placement of its parts through getHierarchyElementReader.
    std::shared_ptr<Reader<HierarchyAccess>> getHierarchyOnlyReader() override { return nullptr; }
    // A host has no filters: the text and the filter are not looked at.
    std::shared_ptr<Reader<PartAccess>> getPartReader(const TCHAR *, int selection) override {
        return partReader(item, selection);
    }
    std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t, int selection) override {
        return partReader(item, selection);
    }
    std::shared_ptr<Reader<CompletePartAndPartDefAccess>> getCompletePartAndPartDefReader(partFilterCompHandle_t,
                                                                                          int) override {
        return nullptr;
    }
    std::shared_ptr<Reader<PartForReportsAccess>> getPartReaderForReports(int) override { return nullptr; }
    std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(partDefFilterHandle_t, int selection) override {
        return getPartDefReader(selection);
    }
    std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(int selection) override {
        return readerOver<PartDefAccess>(
            item, item->definitions,
            [](std::shared_ptr<const PartDefinition> definition, int index) {
                return std::make_shared<PartDefRecord>(definition, index);
            },
            [&](const PartDefinition &definition) {
                return selected(*item, definition.secondPass, selection, DEFINITIONS_FIRST_PASS,
                                DEFINITIONS_SECOND_PASS);
            });
    }
    std::shared_ptr<Reader<PartDefDataAccess>> getPartDefDataReader(const TCHAR *) override { return nullptr; }
    std::shared_ptr<Reader<AllPinDataAccess>> getAllPinDataReader(const TCHAR *) override { return nullptr; }
    std::shared_ptr<Reader<AllPinEquivAccess>> getAllPinEquivReader(const TCHAR *) override { return nullptr; }
    std::shared_ptr<Reader<AllAttributeAccess>> getAllAttributeReader(const TCHAR *) override { return nullptr; }
    std::shared_ptr<Reader<AllGateAccess>> getAllGateReader(const TCHAR *) override { return nullptr; }
    std::shared_ptr<Reader<AllGateSwapAccess>> getAllGateSwapReader(const TCHAR *) override { return nullptr; }
};

template <class R> std::shared_ptr<Reader<typename R::Interface>> librariesReader(std::vector<Library> libraries) {
    std::vector<std::shared_ptr<typename R::Interface>> records;
    for (size_t i = 0; i < libraries.size(); ++i)
        records.push_back(
            std::make_shared<R>(std::make_shared<const Library>(std::move(libraries[i])), static_cast<int>(i)));
    return std::make_shared<VectorReader<typename R::Interface>>(std::move(records));
}

} // namespace

std::shared_ptr<Reader<LibraryAccess>> libraryReader(std::vector<Library> libraries) {
    return librariesReader<LibraryAccessRecord>(std::move(libraries));
}

std::shared_ptr<Reader<LibHierarchyOnlyAccess>> hierarchyOnlyReader(std::vector<Library> libraries) {
    return librariesReader<LibraryRecord<LibHierarchyOnlyAccess>>(std::move(libraries));
}

} // namespace hostmodel
