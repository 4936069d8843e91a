#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One node of a part filter tree, built by the host.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class PartFilter {
public:
    PartFilter() = default;
    PartFilter(int32_t nodeType, const std::string &value, const std::string &fieldName, int32_t fieldTable)
        : nodeType(nodeType), value(value), fieldName(fieldName), fieldTable(fieldTable) {}
    virtual ~PartFilter() = default;

    int32_t nodeType = 0;   ///< 0 AND, 1 OR, 2..9 comparators (0x100 added to =, <>, like
                            ///< or notlike: ASCII letters compare without case)
    std::string value;      ///< the value compared with; empty means NULL
    std::string fieldName;  ///< display name of the field, or the attribute name for table 4
    int32_t fieldTable = 0; ///< 0/1 Parts, 2 Part_Definition, 3 Gate, 4 Attributes
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
