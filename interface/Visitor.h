#pragma once

#include "interface/Component.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// Walks a filter tree of Component<T> nodes.
/// The plug-in's own visitors turn a host's tree into the condition of a reader's
/// query: the reader call makes one, hands it to the root's Component::accept and
/// drops it before the call returns. Do not keep the pointer that accept receives.
/// The walk runs on the caller's thread.
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one; the class
/// grows only at its end (SlotOrderTest holds the order).
template <class T> class Visitor {
public:
    virtual ~Visitor() = default;
    /// Visits one node's data.
    virtual void visit(std::shared_ptr<T> data) = 0;
    /// Visits the component's data, then its children.
    virtual void visitComposite(Component<T> *component) {
        visit(component->getData());
        visitChildren(component->getChildren());
    }
    /// Lets every child accept this visitor, in list order; nothing for a null
    /// or empty list.
    virtual void visitChildren(typename Component<T>::ChildList *children) {
        if (!children)
            return;
        for (auto &child : *children)
            child->accept(this);
    }
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
