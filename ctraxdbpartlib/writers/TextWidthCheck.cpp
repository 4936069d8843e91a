#include "ctraxdbpartlib/writers/TextWidthCheck.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/connection/DBProvider.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

std::string quotedName(const std::string &name) {
    return "\"" + storedEscaped(name) + "\"";
}

} // namespace

TextWidthCheck::TextWidthCheck(CTraxDBPath &path, const std::string &library, const char *table, const char *kind,
                               const char *name, const std::string *definition)
    : library(library), table(table), kind(kind), name(name), definition(definition) {
    const Dialect &dialect = path.getSession().getConnection()->dialect();
    checked = dialect.keepsTextsBeyondWidth() ? nullptr : &dialect;
}

const char *TextWidthCheck::operator()(const char *column, const char *value, DBSTATUS status) const {
    if (checked == nullptr || status == DBSTATUS_S_ISNULL)
        return value;
    const size_t width = CTraxDBSchema::textColumnWidth(table, column);
    const size_t characters = characterCount(value);
    if (width != 0 && characters > width)
        TXDB_RAISE_TEXT("Library " + quotedName(library) + record() + ": " + column + " of table " + table + " holds " +
                        std::to_string(characters) + " characters, more than the " + std::to_string(width) + " that " +
                        checked->name() + " keeps");
    return value;
}

std::string TextWidthCheck::record() const {
    std::string text;
    if (definition != nullptr)
        text += ", part definition " + quotedName(*definition);
    if (kind != nullptr)
        text += std::string(", ") + kind + " " + quotedName(name);
    return text;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
