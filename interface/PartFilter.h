#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One node of a part filter tree, built by the host: a group, or a comparison of
/// one field of the part (tables 0 and 1), its definition (2), the definition's
/// gates (3) or its attributes (4). A node of table 2, 3 or 4 must have a parent
/// of table 0, or be the root, to go into the condition.
/// A Component<PartFilter> node holds it in a std::shared_ptr; getPartReader and
/// getCompletePartAndPartDefReader read it while they make the reader and keep no
/// pointer to it.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class PartFilter {
public:
    PartFilter() = default;
    PartFilter(int32_t node, const std::string &compared, const std::string &field, int32_t table)
        : nodeType(node), value(compared), fieldName(field), fieldTable(table) {}
    virtual ~PartFilter() = default;

    int32_t nodeType = 0;   ///< 0 AND, 1 OR, 2..9 comparators (0x100 added to =, <>, like
                            ///< or notlike: ASCII letters compare without case)
    std::string value;      ///< the value compared with; empty means NULL
    std::string fieldName;  ///< display name of the field, or the attribute name for table 4
    int32_t fieldTable = 0; ///< 0/1 Parts, 2 Part_Definition, 3 Gate, 4 Attributes
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
