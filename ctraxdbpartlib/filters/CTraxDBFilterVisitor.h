#pragma once

#include "ctraxdbpartlib/CTraxDBError.h"
#include "interface/Visitor.h"

#include <memory>
#include <stack>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Node type codes of the filter trees.
enum FilterNodeType : int32_t {
    FILTER_AND = 0,
    FILTER_OR = 1,
    FILTER_EQUAL = 2,
    FILTER_NOT_EQUAL = 3,
    FILTER_GREATER = 4,
    FILTER_GREATER_EQUAL = 5,
    FILTER_LESS = 6,
    FILTER_LESS_EQUAL = 7,
    FILTER_LIKE = 8,
    FILTER_NOT_LIKE = 9,
    // Added to =, <>, like and notlike: the comparison ignores the case of
    // the ASCII letters A to Z (other letters keep theirs).
    FILTER_IGNORE_CASE = 0x100,
};

// One open group of the walk: whether a child has been written yet, and the
// node type of the node that opened it.
struct visitorNode {
    bool first = true;
    int32_t op = 0;
};

// Writes a filter tree as an SQL condition with bracket-quoted identifiers.
// Subclasses decide how a field and a value are written.
template <class T> class DBFilterVisitor : public Visitor<T> {
public:
    using DataHandle = std::shared_ptr<T>;

    // A comparison writes field, comparator and value; a group writes nothing itself.
    void visit(DataHandle data) override {
        if (isGroup(data))
            return;
        addField(data);
        addComparator(data);
        addValStr(data);
    }

    void visitComposite(Component<T> *component) override {
        DataHandle data = component->getData();
        beginNode(data);
        visit(data);
        pushNode(data);
        this->visitChildren(component->getChildren());
        popNode(data);
        endNode(data);
    }

    void visitChildren(typename Component<T>::ChildList *children) override { Visitor<T>::visitChildren(children); }

    // The string that writes for the node go into; an empty handle gives the result.
    virtual std::string &getFilterString(DataHandle) { return filterString; }

protected:
    virtual void pushNode(DataHandle data) {
        auto entry = std::make_shared<visitorNode>();
        entry->op = data->nodeType;
        nodes.push(entry);
    }

    virtual void beginNode(DataHandle data) {
        addOperator(data);
        if (isGroup(data))
            getFilterString(data) += "(";
    }

    virtual void endNode(DataHandle data) {
        if (isGroup(data))
            getFilterString(data) += ")";
    }

    virtual void popNode(DataHandle) { nodes.pop(); }

    // The separator between siblings; nothing before the root or a first child.
    virtual void addOperator(DataHandle data) {
        if (nodes.empty())
            return;
        visitorNode &parent = *nodes.top();
        // Only a group has children: a comparison's child would run into the
        // comparison's own text, so it is refused like a second one.
        const bool group = parent.op == FILTER_AND || parent.op == FILTER_OR;
        if (parent.first && group) {
            parent.first = false;
            return;
        }
        switch (parent.op) {
        case FILTER_AND:
            getFilterString(data) += " AND ";
            break;
        case FILTER_OR:
            getFilterString(data) += " OR ";
            break;
        default:
            raiseMessage("CTraxDBFilterVisitor", 235, IDS_UNKNOWN_NODE_TYPE);
        }
    }

    virtual void addField(DataHandle data) = 0;

    virtual void addComparator(DataHandle data) {
        const bool empty = data->value.empty();
        const char *text = nullptr;
        switch (comparator(data)) {
        case FILTER_EQUAL:
            text = empty ? " IS " : "=";
            break;
        case FILTER_NOT_EQUAL:
            text = empty ? " IS NOT " : "<>";
            break;
        case FILTER_GREATER:
            text = ">";
            break;
        case FILTER_GREATER_EQUAL:
            text = ">=";
            break;
        case FILTER_LESS:
            text = "<";
            break;
        case FILTER_LESS_EQUAL:
            text = "<=";
            break;
        case FILTER_LIKE:
            text = " LIKE";
            break;
        case FILTER_NOT_LIKE:
            text = " NOT LIKE";
            break;
        default:
            raiseMessage("CTraxDBFilterVisitor", 306, IDS_UNKNOWN_COMPARATOR_TYPE);
        }
        getFilterString(data) += text;
    }

    virtual void addValStr(DataHandle data) = 0;

    static bool isGroup(const DataHandle &data) { return data->nodeType == FILTER_AND || data->nodeType == FILTER_OR; }
    static bool isLike(const DataHandle &data) {
        return comparator(data) == FILTER_LIKE || comparator(data) == FILTER_NOT_LIKE;
    }

    // Whether the node asks to ignore case; only =, <>, like and notlike can.
    static bool ignoresCase(const DataHandle &data) {
        const int32_t plain = data->nodeType & ~FILTER_IGNORE_CASE;
        return (data->nodeType & FILTER_IGNORE_CASE) != 0 &&
               (plain == FILTER_EQUAL || plain == FILTER_NOT_EQUAL || plain == FILTER_LIKE || plain == FILTER_NOT_LIKE);
    }

    // The node's comparator code, a case-ignoring one as its plain code; any
    // other code as it is, for the comparator to refuse.
    static int32_t comparator(const DataHandle &data) {
        return ignoresCase(data) ? data->nodeType & ~FILTER_IGNORE_CASE : data->nodeType;
    }

    // Whether the node compares without regard to ASCII case: a case-ignoring
    // node with a value; its NULL tests are written as without it.
    static bool foldsCase(const DataHandle &data) { return ignoresCase(data) && !data->value.empty(); }

    // The column as the node compares it: for a case-folding node its ASCII
    // letters lowered by nested REPLACE calls, which every engine runs byte
    // for byte and case-sensitively, so that no engine folds other letters
    // (LOWER() does on some, with their own tables).
    static std::string compared(const DataHandle &data, const std::string &column) {
        if (!foldsCase(data))
            return column;
        std::string folded = column;
        for (char upper = 'A'; upper <= 'Z'; ++upper)
            folded = "REPLACE(" + folded + ",'" + upper + "','" + char(upper - 'A' + 'a') + "')";
        return folded;
    }

    // The value's ASCII letters lowered, for a case-folding node.
    static std::string foldedValue(const DataHandle &data) {
        std::string value = data->value;
        if (foldsCase(data))
            for (char &c : value)
                if (c >= 'A' && c <= 'Z')
                    c = char(c - 'A' + 'a');
        return value;
    }

    // A text as an SQL literal: between single quotes, each quote doubled.
    // A NUL would end the statement's text inside the literal: refused.
    static std::string quoted(const std::string &text) {
        if (text.find('\0') != std::string::npos)
            raiseText("CTraxDBFilterVisitor", __LINE__, "A filter text holds a NUL character, which SQL cannot carry");
        std::string literal = "'";
        for (char c : text) {
            literal += c;
            if (c == '\'')
                literal += '\'';
        }
        return literal + "'";
    }

    // A like-pattern whose backslashes match themselves under ESCAPE '\':
    // '%' and '_' stay the only wildcards on every engine.
    static std::string likePattern(const std::string &text) {
        std::string pattern;
        for (char c : text) {
            pattern += c;
            if (c == '\\')
                pattern += '\\';
        }
        return pattern;
    }

    // The node's value: NULL when empty, else the literal or the bare text;
    // a quoted like-pattern names backslash as its escape character.
    void writeValue(const DataHandle &data, bool quote) {
        const std::string value = foldedValue(data);
        if (isLike(data) && value.empty())
            raiseText("CTraxDBFilterVisitor", __LINE__, "LIKE and NOT LIKE need a pattern: the filter value is empty");
        // A like-pattern is always a literal, whatever the field.
        quote = quote || isLike(data);
        std::string &target = getFilterString(data);
        if (value.empty())
            target += "NULL";
        else if (!quote)
            target += value;
        else if (isLike(data))
            target += quoted(likePattern(value)) + " ESCAPE '\\'";
        else
            target += quoted(value);
    }

private:
    std::stack<std::shared_ptr<visitorNode>> nodes;
    std::string filterString;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
