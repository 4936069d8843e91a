#pragma once

// The events of the JSON parser built into values a piece at a time: the
// document itself is built without the elements of its "libraries" list,
// each library without the elements of its "partDefinitions" and "parts",
// and each of those elements alone, handed to the receiver as soon as it
// ends. A document of a million parts is so never one tree: at most one
// library's own values and one item are.
//
// Only the places the library file puts those lists are split: a list of
// another name, or at another depth, stays in the value it is part of.
//
// Given the text input, the splitter builds an item that is an object
// straight into the model (ItemBuilder) while it keeps the item's text; an
// item that the builder cannot take is parsed again from that text into a
// tree, so that it is read, and its problems named, as every item is
// without the input.

#include "tools/libraryfile/ItemBuilder.h"
#include "tools/libraryfile/TextInput.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace libraryfile {

class DocumentSplitter {
public:
    using json = nlohmann::json;
    enum List { NO_LIST, LIBRARIES, DEFINITIONS, PARTS };

    class Receiver {
    public:
        virtual ~Receiver() = default;
        // The list's key is read (again): what it held so far is dropped, as
        // a repeated key replaces the value before it.
        virtual void listNamed(List list) = 0;
        // An element of the list, complete. For LIBRARIES, the library's own
        // values: its split lists are empty lists there.
        virtual void element(List list, const json &value) = 0;
        // An item of the list (DEFINITIONS or PARTS), built regular; false
        // when it must be read as a tree after all, which element is then
        // handed. The receiver may take the builder's item.
        virtual bool built(List list, ItemBuilder &item) = 0;
    };

    // Without an input, every item is read as a tree.
    explicit DocumentSplitter(Receiver &receiver, TextInput *input = nullptr);

    // The document without its libraries, once the parse has ended.
    json &document() { return values[0]; }

    // The parser's events (nlohmann::json's SAX interface).
    bool null();
    bool boolean(bool value);
    bool number_integer(json::number_integer_t value);
    bool number_unsigned(json::number_unsigned_t value);
    bool number_float(json::number_float_t value, const std::string &text);
    bool string(std::string &value);
    bool binary(json::binary_t &value);
    bool start_object(size_t elements);
    bool key(std::string &name);
    bool end_object();
    bool start_array(size_t elements);
    bool end_array();

private:
    using Builder = nlohmann::detail::json_sax_dom_parser<json>;

    // An open object or list; the key last read matters only for the
    // objects whose lists are split.
    struct Frame {
        bool object = false;
        List split = NO_LIST; // the elements of this list are split off
        List named = NO_LIST; // the list the object's last key names
    };

    // The value begins: a new level when it is an element of a split list.
    Builder &begin();
    // The value ended: an element of a split list goes to the receiver.
    void ended();
    // A value without elements: to the item being built, or to the builder.
    template <class Built, class Event> bool scalar(Built built, Event event);
    // The item being built has ended.
    void builtItem();

    Receiver &receiver;
    std::vector<Frame> frames;
    // Level 0 the document, 1 a library, 2 an element of a library's list:
    // the value of each, its builder and the depth at which it began.
    static constexpr int LEVELS = 3;
    json values[LEVELS];
    std::optional<Builder> builders[LEVELS];
    size_t startDepth[LEVELS] = {};
    int level = 0;

    TextInput *input;
    // The item being built straight into the model, if any, and its list.
    ItemBuilder item;
    bool building = false;
    List itemList = NO_LIST;
};

} // namespace libraryfile
