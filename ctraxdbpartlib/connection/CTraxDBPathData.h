#pragma once

#include "ctraxdbpartlib/access/DBAccess.h"
#include "ctraxdbpartlib/connection/CDataSource.h"
#include "interface/PathData.h"
#include "interface/Source.h"

#include <memory>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One catalog of a data source. It shares the source's data source, so it
// stays usable after the reader that made it is gone.
class CTraxDBPathData : public DBAccess<PathData> {
public:
    static constexpr size_t NAME_SIZE = 129; // a catalog name of 128 characters and its NUL

    // `source` must be a CTraxDBSource (the reader has checked it).
    CTraxDBPathData(std::shared_ptr<Source> source, const char *catalogName);
    ~CTraxDBPathData() override;

    // The catalog name; the buffer must hold NAME_SIZE bytes.
    void getPathStr(TCHAR *buffer, size_t size) override;
    // The source's initialisation string with its password (the same for
    // every catalog of the source).
    void getPathInitialisationStr(TCHAR *buffer, size_t size) override;

private:
    CDataSource dataSource;
    char name[NAME_SIZE] = {};
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
