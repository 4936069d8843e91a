#pragma once

#include "interface/Component.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// Walks a filter tree of Component<T> nodes.
template <class T> class Visitor {
public:
    virtual ~Visitor() = default;
    virtual void visit(std::shared_ptr<T> data) = 0;
    // Visits the component's data, then its children.
    virtual void visitComposite(Component<T> *component) {
        visit(component->getData());
        visitChildren(component->getChildren());
    }
    // Lets every child accept this visitor, in list order.
    virtual void visitChildren(typename Component<T>::ChildList *children) {
        if (!children)
            return;
        for (auto &child : *children)
            child->accept(this);
    }
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
