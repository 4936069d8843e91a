#pragma once

#include "ctraxdbpartlib/connection/CDataSource.h"
#include "ctraxdbpartlib/connection/CSession.h"
#include "interface/Path.h"
#include "interface/Source.h"

#include <cstddef>
#include <string>
#include <unordered_map>

class CWnd;

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One opened data source with its one session, and the identifier quoting
// characters of its database kind. Every SQL text of the plug-in is written
// with square brackets and goes through fixTcEnc before it reaches the
// database.
class CTraxDBSource : public Source {
public:
    // Opens the data source the user picks in the data-link dialog.
    explicit CTraxDBSource(CWnd *parent);
    // Opens the data source an initialisation string describes; a database
    // file that does not exist is created unless `missing` refuses it.
    explicit CTraxDBSource(const TCHAR *initialisationString, MissingFile missing = MissingFile::Create);
    ~CTraxDBSource() override;

    virtual CSession &getSession();
    virtual const CDataSource &getSource();

    // The text with "[" and "]" replaced by the database's quoting
    // characters; empty when the host cannot do it.
    std::string fixTcEnc(const std::string &sql) const;

private:
    void openSession();

    CDataSource dataSource;
    CSession session;
    char encloseOpen = 0;
    char encloseClose = 0;
    // The short texts fixed so far: readers open the same few texts again
    // and again. Emptied when it holds FIXED_TEXTS, as texts with values
    // written into them come only once. A text longer than
    // FIXED_TEXT_LENGTH (a multi-row INSERT) is neither looked up nor kept.
    static constexpr size_t FIXED_TEXTS = 512;
    static constexpr size_t FIXED_TEXT_LENGTH = 1024;
    mutable std::unordered_map<std::string, std::string> fixedTexts;

    CTraxDBSource(const CTraxDBSource &) = delete;
    CTraxDBSource &operator=(const CTraxDBSource &) = delete;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
