#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One node of a library filter tree, built by the host: a group or a comparison
/// of the library's name.
/// A Component<LibFilter> node holds it in a std::shared_ptr; getLibraryReader reads
/// it while it makes the reader and keeps no pointer to it.
/// Its one virtual function is the destructor, host slot 0; new ones go after it.
class LibFilter {
public:
    LibFilter() = default;
    LibFilter(int32_t node, const std::string &compared) : nodeType(node), value(compared) {}
    virtual ~LibFilter() = default;

    int32_t nodeType = 0; ///< 0 AND, 1 OR, 2..9 comparators (0x100 added to =, <>, like
                          ///< or notlike: ASCII letters compare without case)
    std::string value;    ///< the value compared with; empty means NULL
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
