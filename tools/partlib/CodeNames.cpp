#include "tools/partlib/CodeNames.h"

#include <map>

namespace partlib {

namespace {

const std::map<int, const char *> PIN_TYPES = {
    {1, "input"},         {2, "output"},         {3, "bidirectional"}, {4, "tri-state"},    {5, "passive"},
    {6, "free"},          {7, "unspecified"},    {8, "power input"},   {9, "power output"}, {10, "open collector"},
    {11, "open emitter"}, {12, "not connected"},
};

const std::map<int, const char *> PART_TYPES = {
    {1, "part"}, {2, "connector"}, {4, "test point"}, {8, "jumper"}, {16, "star point"},
};

const std::map<int, const char *> EQUIV_TYPES = {
    {0, "swappable"},
};

const std::map<int, const char *> &namesOf(CodeKind kind) {
    switch (kind) {
    case CodeKind::PinType:
        return PIN_TYPES;
    case CodeKind::PartType:
        return PART_TYPES;
    default:
        return EQUIV_TYPES;
    }
}

} // namespace

Cell codeName(CodeKind kind, const Cell &code) {
    if (!code.is_number_integer())
        return code;
    const std::map<int, const char *> &names = namesOf(kind);
    const auto found = names.find(code.get<int>());
    return found == names.end() ? code : Cell(found->second);
}

} // namespace partlib
