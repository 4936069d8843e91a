#pragma once

#include <list>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

template <class T> class Visitor;

/// A node of a filter tree over T (LibFilter or PartFilter), implemented by the
/// host.
/// The host builds the tree of std::shared_ptr<Component<T>> and passes its root
/// (libraryFilterCompHandle_t, partFilterCompHandle_t) to a reader call; an empty
/// root reads everything. The reader call walks the tree once, on the caller's
/// thread, and keeps no pointer into it: the tree may change or go once the call
/// has returned.
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one; the class
/// grows only at its end (SlotOrderTest holds the order).
template <class T> class Component {
public:
    using ChildList = std::list<std::shared_ptr<Component<T>>>;

    virtual ~Component() = default;
    /// @return the node's filter data: a group (nodeType 0 AND, 1 OR) or one
    /// comparison.
    virtual std::shared_ptr<T> getData() = 0;
    /// @return the node's children in the order the host built them; may be
    /// empty or null. Only a group may have more than one.
    virtual ChildList *getChildren() = 0;
    /// The host's own; the plug-in never calls it.
    virtual void reserved() {}
    /// Lets the visitor walk this node: calls `visitor->visitComposite(this)`.
    virtual void accept(Visitor<T> *visitor) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
