#pragma once

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// One node of a library filter tree, built by the host.
// Its virtual functions: the destructor (host slot 0), ignoresCase (slot 1);
// new ones go after them.
class LibFilter {
public:
    LibFilter() = default;
    LibFilter(int32_t nodeType, const std::string &value) : nodeType(nodeType), value(value) {}
    virtual ~LibFilter() = default;

    // Whether =, <>, like and notlike compare without regard to the case of
    // the ASCII letters A to Z (host slot 1); other letters keep their case,
    // and > >= < <= their byte order. A host that builds such nodes derives
    // from this class.
    virtual bool ignoresCase() { return false; }

    int32_t nodeType = 0; // 0 AND, 1 OR, 2..9 comparators
    std::string value;    // the value compared with; empty means NULL
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
