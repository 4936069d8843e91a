#include "tools/libraryfile/ItemBuilder.h"

#include "tools/libraryfile/LibraryFile.h"

#include "ctraxdbpartlib/TextUtil.h"

#include <cstring>
#include <limits>

namespace libraryfile {

// A scalar event of the parser.
struct ItemValue {
    enum Type { NUL, FLAG, INTEGER, TEXT } type;
    bool flag = false;
    int number = 0;
    const std::string *text = nullptr;

    std::string asText() const { return *text; }
    hostmodel::Text asNullableText() const { return type == NUL ? hostmodel::Text() : hostmodel::Text(*text); }
    hostmodel::Number asNullableNumber() const { return type == NUL ? hostmodel::Number() : hostmodel::Number(number); }
};

namespace {

using hostmodel::Gate;
using hostmodel::GateSwap;
using hostmodel::Part;
using hostmodel::PartDefinition;
using hostmodel::Pin;
using hostmodel::PinEquivalence;
using hostmodel::SwapGate;
using Shape = ItemBuilder::Shape;

// What a key's value must be.
enum Kind { TEXT, NULLABLE_TEXT, NUMBER, NULLABLE_NUMBER, FLAG, OBJECTS, TEXTS };

// A key of an object: its name, its value, whether the object must have it,
// and how its value (or each element of its list) goes into the model.
struct Field {
    const char *name;
    Kind kind;
    bool required = false;
    size_t width = 0; // for a text, or the texts of a list: its column's width in characters
    // A scalar value, or an element of a list of texts, into the object.
    void (*set)(ItemBuilder &, void *object, const ItemValue &) = nullptr;
    // A new element of a list of objects, and its shape.
    void *(*add)(ItemBuilder &, void *object) = nullptr;
    Shape element = Shape::LIST;
};

constexpr bool REQUIRED = true, OPTIONAL = false;

template <class T> T &as(void *object) {
    return *static_cast<T *>(object);
}

size_t width(const char *table, const char *column) {
    return columnWidth(table, column);
}

// The keys of each shape of object, in the order of ItemBuilder::Shape.
const std::vector<Field> &fieldsOf(Shape shape) {
    static const std::vector<Field> all[] = {
        {
            // DEFINITION_OBJECT
            {"name", TEXT, REQUIRED, width("Part_Definition", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).name = v.asText(); }},
            {"pcbComponentName", TEXT, REQUIRED, width("Part_Definition", "PCB_component_name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).pcbComponentName = v.asText(); }},
            {"pcbAlternateName", NULLABLE_TEXT, OPTIONAL, width("Part_Definition", "PCB_alternate_name"),
             [](ItemBuilder &, void *o, const ItemValue &v) {
                 as<PartDefinition>(o).pcbAlternateName = v.asNullableText();
             }},
            {"value", NULLABLE_TEXT, OPTIONAL, width("Part_Definition", "Part_def_value"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).value = v.asNullableText(); }},
            {"componentNameStem", NULLABLE_TEXT, OPTIONAL, width("Part_Definition", "Component_name_stem"),
             [](ItemBuilder &, void *o, const ItemValue &v) {
                 as<PartDefinition>(o).componentNameStem = v.asNullableText();
             }},
            {"pspiceData", NULLABLE_TEXT, OPTIONAL, width("Part_Definition", "PSpice_data"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).pspice = v.asNullableText(); }},
            {"maxConnectorPins", NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).maxConnectorPins = v.number; }},
            {"gateSwapping", FLAG, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).gateSwapping = v.flag; }},
            {"pinNumName", FLAG, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).pinNumName = v.flag; }},
            {"isFPGA", FLAG, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PartDefinition>(o).isFPGA = v.flag; }},
            {"pins", OBJECTS, OPTIONAL, 0, nullptr,
             [](ItemBuilder &b, void *o) -> void * {
                 b.groupOfPin.emplace_back();
                 return &as<PartDefinition>(o).pins.emplace_back();
             },
             Shape::PIN},
            {"gates", OBJECTS, OPTIONAL, 0, nullptr,
             [](ItemBuilder &, void *o) -> void * { return &as<PartDefinition>(o).gates.emplace_back(); }, Shape::GATE},
            {"gateSwaps", OBJECTS, OPTIONAL, 0, nullptr,
             [](ItemBuilder &, void *o) -> void * { return &as<PartDefinition>(o).gateSwaps.emplace_back(); },
             Shape::GATE_SWAP},
            {"pinEquivalences", OBJECTS, OPTIONAL, 0, nullptr,
             [](ItemBuilder &, void *o) -> void * { return &as<PartDefinition>(o).pinEquivalences.emplace_back(); },
             Shape::PIN_EQUIVALENCE},
            {"attributes", OBJECTS, OPTIONAL, 0, nullptr,
             [](ItemBuilder &, void *o) -> void * { return &as<PartDefinition>(o).attributes.emplace_back(); },
             Shape::ATTRIBUTE},
        },
        {
            // PIN
            {"identifier", NULLABLE_TEXT, REQUIRED, width("Pin_Data", "Pin_identifier"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).identifier = v.asNullableText(); }},
            {"name", NULLABLE_TEXT, OPTIONAL, width("Pin_Data", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).name = v.asNullableText(); }},
            {"label", NULLABLE_TEXT, OPTIONAL, width("Pin_Data", "Label"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).label = v.asNullableText(); }},
            {"position", NULLABLE_NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).position = v.asNullableNumber(); }},
            {"type", NULLABLE_NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).type = v.asNullableNumber(); }},
            {"loading", NULLABLE_NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).loading = v.asNullableNumber(); }},
            {"signal", NULLABLE_TEXT, OPTIONAL, width("Pin_Data", "Signal"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Pin>(o).signal = v.asNullableText(); }},
            {"equivGroup", NULLABLE_NUMBER, OPTIONAL, 0,
             [](ItemBuilder &b, void *, const ItemValue &v) { b.groupOfPin.back() = v.asNullableNumber(); }},
        },
        {
            // GATE
            {"name", TEXT, REQUIRED, width("Gate", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Gate>(o).name = v.asText(); }},
            {"altName", NULLABLE_TEXT, OPTIONAL, width("Gate", "Alt_name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Gate>(o).altName = v.asNullableText(); }},
            {"pins", TEXTS, OPTIONAL, width("Pin_Data", "Pin_identifier"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Gate>(o).pins.push_back({v.asText()}); }},
        },
        {
            // GATE_SWAP
            {"name", TEXT, REQUIRED, width("Gate_Equiv", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<GateSwap>(o).name = v.asText(); }},
            {"gates", OBJECTS, OPTIONAL, 0, nullptr,
             [](ItemBuilder &, void *o) -> void * { return &as<GateSwap>(o).gates.emplace_back(); }, Shape::SWAP_GATE},
        },
        {
            // SWAP_GATE
            {"equivType", NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<SwapGate>(o).equivType = v.number; }},
            {"pins", TEXTS, OPTIONAL, width("Pin_Data", "Pin_identifier"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<SwapGate>(o).pins.push_back({v.asText()}); }},
        },
        {
            // PIN_EQUIVALENCE
            {"pins", TEXTS, REQUIRED, width("Pin_Data", "Pin_identifier"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<PinEquivalence>(o).pins.push_back({v.asText()}); }},
        },
        {
            // ATTRIBUTE
            {"name", TEXT, REQUIRED, width("Attributes", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<hostmodel::Attribute>(o).name = v.asText(); }},
            {"value", TEXT, OPTIONAL, width("Attributes", "Attribute_value"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<hostmodel::Attribute>(o).value = v.asText(); }},
            {"usageType", NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<hostmodel::Attribute>(o).usageType = v.number; }},
            {"readOnly", NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<hostmodel::Attribute>(o).readOnly = v.number; }},
        },
        {
            // PART_OBJECT
            {"name", TEXT, REQUIRED, width("Parts", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).name = v.asText(); }},
            {"folder", TEXTS, REQUIRED, width("Hierarchy", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).folder.push_back(v.asText()); }},
            {"definition", TEXT, REQUIRED, width("Part_Definition", "Name"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).definition = v.asText(); }},
            {"number", NULLABLE_TEXT, OPTIONAL, width("Parts", "Part_number"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).number = v.asNullableText(); }},
            {"description", NULLABLE_TEXT, OPTIONAL, width("Parts", "Description"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).description = v.asNullableText(); }},
            {"pspiceData", NULLABLE_TEXT, OPTIONAL, width("Parts", "PSpice_data"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).pspice = v.asNullableText(); }},
            {"version", NULLABLE_NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).version = v.asNullableNumber(); }},
            {"acceptance", NULLABLE_TEXT, OPTIONAL, width("Parts", "Part_Acceptance"),
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).acceptance = v.asNullableText(); }},
            {"type", NULLABLE_NUMBER, OPTIONAL, 0,
             [](ItemBuilder &, void *o, const ItemValue &v) { as<Part>(o).type = v.asNullableNumber(); }},
        },
    };
    return all[shape];
}

// The bits of the keys an object of that shape must have.
uint32_t requiredOf(Shape shape) {
    static const auto masks = [] {
        std::vector<uint32_t> bits;
        for (int s = 0; s < Shape::LIST; ++s) {
            const std::vector<Field> &fields = fieldsOf(static_cast<Shape>(s));
            bits.push_back(0);
            for (size_t i = 0; i < fields.size(); ++i)
                if (fields[i].required)
                    bits.back() |= uint32_t(1) << i;
        }
        return bits;
    }();
    return masks[shape];
}

// Whether a text may stand in a column of that width: no NUL, and no more
// characters than the column holds (a text of no more bytes than that
// holds no more characters either).
bool fits(const std::string &text, size_t width) {
    if (std::memchr(text.data(), '\0', text.size()))
        return false;
    return text.size() <= width || COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::characterCount(text) <= width;
}

// Whether the value is one the key takes.
bool takes(const Field &field, const ItemValue &value) {
    switch (field.kind) {
    case TEXT:
        return value.type == ItemValue::TEXT && fits(*value.text, field.width);
    case NULLABLE_TEXT:
        return value.type == ItemValue::NUL || (value.type == ItemValue::TEXT && fits(*value.text, field.width));
    case NUMBER:
        return value.type == ItemValue::INTEGER;
    case NULLABLE_NUMBER:
        return value.type == ItemValue::NUL || value.type == ItemValue::INTEGER;
    case FLAG:
        return value.type == ItemValue::FLAG;
    case OBJECTS:
    case TEXTS:
        break;
    }
    return false;
}

} // namespace

void ItemBuilder::begin(Kind kind) {
    definition = {};
    groupOfPin.clear();
    part = {};
    frames.clear();
    if (kind == DEFINITION)
        frames.push_back({DEFINITION_OBJECT, &definition, LIST});
    else
        frames.push_back({PART_OBJECT, &part, LIST});
    depth = 1;
    sound = true;
}

void ItemBuilder::key(const std::string &name) {
    if (!sound)
        return;
    Frame &frame = frames.back();
    const std::vector<Field> &fields = fieldsOf(frame.shape);
    for (size_t i = 0; i < fields.size(); ++i) {
        const char *known = fields[i].name;
        if (name[0] != known[0] || name != known)
            continue;
        const uint32_t bit = uint32_t(1) << i;
        if (frame.seen & bit)
            break; // a repeated key
        frame.seen |= bit;
        frame.slot = static_cast<int>(i);
        return;
    }
    irregular();
}

void ItemBuilder::scalar(const ItemValue &value) {
    if (!sound)
        return;
    const Frame &frame = frames.back();
    if (frame.shape == LIST) {
        const Field &field = fieldsOf(frame.owner)[static_cast<size_t>(frame.slot)];
        if (field.kind != TEXTS || value.type != ItemValue::TEXT || !fits(*value.text, field.width))
            return irregular();
        field.set(*this, frame.object, value);
        return;
    }
    const Field &field = fieldsOf(frame.shape)[static_cast<size_t>(frame.slot)];
    if (!takes(field, value))
        return irregular();
    field.set(*this, frame.object, value);
}

void ItemBuilder::text(const std::string &value) {
    scalar({ItemValue::TEXT, false, 0, &value});
}

void ItemBuilder::integer(int64_t value) {
    using limits = std::numeric_limits<int>;
    if (value < limits::min() || value > limits::max())
        return irregular();
    scalar({ItemValue::INTEGER, false, static_cast<int>(value)});
}

void ItemBuilder::unsignedInteger(uint64_t value) {
    if (value > uint64_t(std::numeric_limits<int>::max()))
        return irregular();
    scalar({ItemValue::INTEGER, false, static_cast<int>(value)});
}

void ItemBuilder::flag(bool value) {
    scalar({ItemValue::FLAG, value});
}

void ItemBuilder::null() {
    scalar({ItemValue::NUL});
}

void ItemBuilder::other() {
    irregular();
}

void ItemBuilder::startObject() {
    ++depth;
    if (!sound)
        return;
    const Frame &list = frames.back();
    if (list.shape != LIST)
        return irregular(); // no key takes an object
    const Field &field = fieldsOf(list.owner)[static_cast<size_t>(list.slot)];
    if (field.kind != OBJECTS)
        return irregular();
    void *element = field.add(*this, list.object);
    frames.push_back({field.element, element, LIST});
}

void ItemBuilder::startArray() {
    ++depth;
    if (!sound)
        return;
    const Frame &frame = frames.back();
    if (frame.shape == LIST)
        return irregular(); // no list holds lists
    const Field &field = fieldsOf(frame.shape)[static_cast<size_t>(frame.slot)];
    if (field.kind != OBJECTS && field.kind != TEXTS)
        return irregular();
    frames.push_back({LIST, frame.object, frame.shape, frame.slot});
}

bool ItemBuilder::end() {
    --depth;
    if (sound) {
        const Frame &frame = frames.back();
        if (frame.shape != LIST) {
            const uint32_t required = requiredOf(frame.shape);
            if ((frame.seen & required) != required)
                irregular();
        } else if (frame.owner == PART_OBJECT && part.folder.empty()) {
            irregular(); // every part is filed in a folder
        }
        frames.pop_back();
    }
    return depth == 0;
}

} // namespace libraryfile
