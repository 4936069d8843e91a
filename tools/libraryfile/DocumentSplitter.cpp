#include "tools/libraryfile/DocumentSplitter.h"

namespace libraryfile {

namespace {

DocumentSplitter::List listNamed(const std::string &key, size_t depth) {
    if (depth == 1)
        return key == "libraries" ? DocumentSplitter::LIBRARIES : DocumentSplitter::NO_LIST;
    if (key == "partDefinitions")
        return DocumentSplitter::DEFINITIONS;
    return key == "parts" ? DocumentSplitter::PARTS : DocumentSplitter::NO_LIST;
}

} // namespace

DocumentSplitter::DocumentSplitter(Receiver &receiver, TextInput *input) : receiver(receiver), input(input) {
    builders[0].emplace(values[0], false);
}

DocumentSplitter::Builder &DocumentSplitter::begin() {
    if (!frames.empty() && frames.back().split != NO_LIST) {
        ++level;
        values[level] = json();
        builders[level].emplace(values[level], false);
        startDepth[level] = frames.size();
    }
    return *builders[level];
}

void DocumentSplitter::ended() {
    if (level == 0 || frames.size() != startDepth[level])
        return;
    const List list = frames.back().split;
    --level;
    receiver.element(list, values[level + 1]);
    values[level + 1] = json();
}

template <class Built, class Event> bool DocumentSplitter::scalar(Built built, Event event) {
    if (building) {
        built(item);
        return true;
    }
    event(begin());
    ended();
    return true;
}

void DocumentSplitter::builtItem() {
    building = false;
    if (!item.regular() || !receiver.built(itemList, item))
        receiver.element(itemList, json::parse(input->kept()));
    input->stopKeeping();
}

bool DocumentSplitter::null() {
    return scalar([](ItemBuilder &built) { built.null(); }, [](Builder &builder) { builder.null(); });
}

bool DocumentSplitter::boolean(bool value) {
    return scalar([&](ItemBuilder &built) { built.flag(value); }, [&](Builder &builder) { builder.boolean(value); });
}

bool DocumentSplitter::number_integer(json::number_integer_t value) {
    return scalar([&](ItemBuilder &built) { built.integer(value); },
                  [&](Builder &builder) { builder.number_integer(value); });
}

bool DocumentSplitter::number_unsigned(json::number_unsigned_t value) {
    return scalar([&](ItemBuilder &built) { built.unsignedInteger(value); },
                  [&](Builder &builder) { builder.number_unsigned(value); });
}

bool DocumentSplitter::number_float(json::number_float_t value, const std::string &text) {
    return scalar([](ItemBuilder &built) { built.other(); },
                  [&](Builder &builder) { builder.number_float(value, text); });
}

bool DocumentSplitter::string(std::string &value) {
    return scalar([&](ItemBuilder &built) { built.text(value); }, [&](Builder &builder) { builder.string(value); });
}

bool DocumentSplitter::binary(json::binary_t &value) {
    return scalar([](ItemBuilder &built) { built.other(); }, [&](Builder &builder) { builder.binary(value); });
}

bool DocumentSplitter::start_object(size_t elements) {
    if (building) {
        item.startObject();
        return true;
    }
    const List split = frames.empty() ? NO_LIST : frames.back().split;
    if (input && (split == DEFINITIONS || split == PARTS)) {
        // The item's '{' is the character last read.
        building = true;
        itemList = split;
        item.begin(split == DEFINITIONS ? ItemBuilder::DEFINITION : ItemBuilder::PART);
        input->keepFrom(input->position() - 1);
        return true;
    }
    begin().start_object(elements);
    frames.push_back({true, NO_LIST, NO_LIST});
    return true;
}

bool DocumentSplitter::key(std::string &name) {
    if (building) {
        item.key(name);
        return true;
    }
    builders[level]->key(name);
    Frame &frame = frames.back();
    // The document's own keys, and a library's (an element of its split list).
    const bool splitsLists = frames.size() == 1 || (frames.size() == 3 && frames[1].split == LIBRARIES);
    frame.named = splitsLists ? listNamed(name, frames.size()) : NO_LIST;
    if (frame.named != NO_LIST)
        receiver.listNamed(frame.named);
    return true;
}

bool DocumentSplitter::end_object() {
    if (building) {
        if (item.endObject())
            builtItem();
        return true;
    }
    builders[level]->end_object();
    frames.pop_back();
    ended();
    return true;
}

bool DocumentSplitter::start_array(size_t elements) {
    if (building) {
        item.startArray();
        return true;
    }
    const List split = frames.empty() || !frames.back().object ? NO_LIST : frames.back().named;
    begin().start_array(elements);
    frames.push_back({false, split, NO_LIST});
    return true;
}

bool DocumentSplitter::end_array() {
    if (building) {
        item.endArray();
        return true;
    }
    builders[level]->end_array();
    frames.pop_back();
    ended();
    return true;
}

} // namespace libraryfile
