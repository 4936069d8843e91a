#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// One node of a part filter tree, built by the host.
// Its virtual functions: the destructor (host slot 0), ignoresCase (slot 1);
// new ones go after them.
class PartFilter {
public:
    PartFilter() = default;
    PartFilter(int32_t nodeType, const std::string &value, const std::string &fieldName, int32_t fieldTable)
        : nodeType(nodeType), value(value), fieldName(fieldName), fieldTable(fieldTable) {}
    virtual ~PartFilter() = default;

    // Whether =, <>, like and notlike compare without regard to the case of
    // the ASCII letters A to Z (host slot 1); other letters keep their case,
    // and > >= < <= their byte order. A host that builds such nodes derives
    // from this class.
    virtual bool ignoresCase() { return false; }

    int32_t nodeType = 0;   // 0 AND, 1 OR, 2..9 comparators
    std::string value;      // the value compared with; empty means NULL
    std::string fieldName;  // display name of the field, or the attribute name for table 4
    int32_t fieldTable = 0; // 0/1 Parts, 2 Part_Definition, 3 Gate, 4 Attributes
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
