#pragma once

// A part definition or a part of a library file built straight from the
// JSON parser's events, without a JSON tree of it first. Only an item that
// is plainly sound is built so: every key known and given once, every value
// of its key's type, every text within its column and free of NUL, every
// number a whole number within int. Anything else makes the item irregular;
// the builder then only follows the events to the item's end, and the item
// is read from its text the long way, which names each problem.
//
//   builder.begin(ItemBuilder::DEFINITION); // the item's '{' was read
//   ... builder.key("name"); builder.text("R0805"); ...
//   if (builder.endObject() && builder.regular()) use(builder.definition);

#include "tools/hostmodel/HostLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace libraryfile {

struct ItemValue;

class ItemBuilder {
public:
    enum Kind { DEFINITION, PART };
    // The shapes of the objects an item is made of, and of its lists.
    enum Shape { DEFINITION_OBJECT, PIN, GATE, GATE_SWAP, SWAP_GATE, PIN_EQUIVALENCE, ATTRIBUTE, PART_OBJECT, LIST };

    // A new item of that kind; its opening brace has been read.
    void begin(Kind kind);
    // Whether every event so far fitted an item that needs no problem named.
    bool regular() const { return sound; }

    // The parser's events within the item. endObject and endArray say
    // whether the item has ended with them.
    void key(const std::string &name);
    void text(const std::string &value);
    void integer(int64_t value);
    void unsignedInteger(uint64_t value);
    void flag(bool value);
    void null();
    void other(); // a number with a fraction or exponent: never a value an item takes
    void startObject();
    void startArray();
    bool endObject() { return end(); }
    bool endArray() { return end(); }

    // The item built, complete once it has ended regular.
    hostmodel::PartDefinition definition;
    std::vector<hostmodel::Number> groupOfPin; // each pin's equivGroup, in the pins' order
    hostmodel::Part part;

private:
    // An open object or list of the item. For an object, `seen` has a bit
    // for each of its keys read so far, and `slot` is the key being read;
    // a list is held by its parent's object and key.
    struct Frame {
        Shape shape;
        void *object; // the model's item, or for a list its parent's
        Shape owner;  // for a list, its parent's shape
        int slot = -1;
        uint32_t seen = 0;
    };

    void scalar(const ItemValue &value);
    void irregular() { sound = false; }
    bool end();

    std::vector<Frame> frames;
    size_t depth = 0; // the item's objects and lists open
    bool sound = true;
};

} // namespace libraryfile
