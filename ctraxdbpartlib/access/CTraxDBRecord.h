#pragma once

// The root of the record classes: the class name every trace text of a
// record begins with. Getters written once for several classes build their
// trace texts through traceText, so that each class still traces under its
// own name. The destructor's trace is written by each family's base class:
// a record that holds a path handle may hold the path's last reference, and
// whether the record's trace comes before or after the path goes depends on
// where the family keeps the handle.

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/access/DBAccess.h"
#include "ctraxdbpartlib/connection/DBField.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// How a class spells the argument lists of its getters' trace texts.
enum class ArgumentSpelling {
    AsWritten, // as traceText is given them, e.g. "(bool &,TCHAR *,size_t)"
    Spaced     // a blank after each comma: "(bool &, TCHAR *, size_t)"
};

template <class TInterface> class CTraxDBRecord : public DBAccess<TInterface> {
protected:
    explicit CTraxDBRecord(const char *className, ArgumentSpelling spelling = ArgumentSpelling::AsWritten)
        : className(className), spelling(spelling) {}

    // "<class>::" and `operation`, a name with its argument list, spelt as
    // this class spells argument lists.
    std::string traceText(const char *operation) const {
        std::string text = std::string(className) + "::";
        for (const char *c = operation; *c != '\0'; ++c) {
            text += *c;
            if (*c == ',' && spelling == ArgumentSpelling::Spaced)
                text += ' ';
        }
        return text;
    }
    // "<class>::~<class>".
    std::string destructorText() const { return std::string(className) + "::~" + className; }

    const char *className;

private:
    ArgumentSpelling spelling;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
