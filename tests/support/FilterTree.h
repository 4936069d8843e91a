#pragma once

#include "interface/Component.h"
#include "interface/Exception.h"
#include "interface/LibFilter.h"
#include "interface/PartDefFilter.h"
#include "interface/PartFilter.h"
#include "interface/Visitor.h"
#include "tests/support/TestUtil.h"

#include <initializer_list>
#include <memory>
#include <string>

// The host's side of a filter tree: a node holding its data and children.
template <class T> class TreeNode : public COM_ORVEL_TRAX_PLDAIO_INTERFACE::Component<T> {
public:
    using Base = COM_ORVEL_TRAX_PLDAIO_INTERFACE::Component<T>;

    TreeNode(std::shared_ptr<T> data, std::initializer_list<std::shared_ptr<Base>> children)
        : data(std::move(data)), children(children) {}
    TreeNode(std::shared_ptr<T> data, typename Base::ChildList children)
        : data(std::move(data)), children(std::move(children)) {}

    std::shared_ptr<T> getData() override { return data; }
    typename Base::ChildList *getChildren() override { return &children; }
    void accept(COM_ORVEL_TRAX_PLDAIO_INTERFACE::Visitor<T> *visitor) override { visitor->visitComposite(this); }

private:
    std::shared_ptr<T> data;
    typename Base::ChildList children;
};

template <class T> using Node = std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Component<T>>;

inline Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibFilter>
lib(int type, const std::string &value,
    std::initializer_list<Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibFilter>> children = {}) {
    using COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibFilter;
    return std::make_shared<TreeNode<LibFilter>>(std::make_shared<LibFilter>(type, value), children);
}

inline Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartDefFilter>
partDef(int type, const std::string &value,
        std::initializer_list<Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartDefFilter>> children = {}) {
    using COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartDefFilter;
    return std::make_shared<TreeNode<PartDefFilter>>(std::make_shared<PartDefFilter>(type, value), children);
}

// A part comparison: field, table, type, value (and, to test the walk's
// checks, children).
inline Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartFilter>
part(const std::string &field, int table, int type, const std::string &value,
     std::initializer_list<Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartFilter>> children = {}) {
    using COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartFilter;
    return std::make_shared<TreeNode<PartFilter>>(std::make_shared<PartFilter>(type, value, field, table), children);
}

// A part group (0 AND, 1 OR) of the given table.
inline Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartFilter>
partGroup(int type, int table, std::initializer_list<Node<COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartFilter>> children) {
    using COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartFilter;
    return std::make_shared<TreeNode<PartFilter>>(std::make_shared<PartFilter>(type, "", "", table), children);
}

// The filter string a fresh visitor writes for the tree.
template <class V, class T> std::string filterOf(const Node<T> &root) {
    V visitor;
    root->accept(&visitor);
    return visitor.getFilterString(nullptr);
}

using txdbtest::thrownMessage;
