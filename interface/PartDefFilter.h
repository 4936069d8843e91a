#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One comparison of a part definition's name, built by the host.
/// It is not put in a tree: LibraryAccess::getPartDefReader takes the node itself
/// (partDefFilterHandle_t, a std::shared_ptr), reads it while it makes the reader
/// and keeps no pointer to it. An empty handle reads every definition.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class PartDefFilter {
public:
    PartDefFilter() = default;
    PartDefFilter(int32_t node, const std::string &compared) : nodeType(node), value(compared) {}
    virtual ~PartDefFilter() = default;

    int32_t nodeType = 0; ///< 0 AND, 1 OR, 2..9 comparators (0x100 added to =, <>, like
                          ///< or notlike: ASCII letters compare without case)
    std::string value;    ///< the value compared with; empty means NULL
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
