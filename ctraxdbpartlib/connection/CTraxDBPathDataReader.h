#pragma once

#include "ctraxdbpartlib/connection/CTables.h"
#include "ctraxdbpartlib/readers/DBReader.h"
#include "interface/PathData.h"
#include "interface/Source.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Walks the catalogs (databases) that a data source offers, one
// CTraxDBPathData per catalog.
class CTraxDBPathDataReader : public DBReader<PathData> {
public:
    explicit CTraxDBPathDataReader(std::shared_ptr<Source> source);
    ~CTraxDBPathDataReader() override;

    std::shared_ptr<PathData> getNext() override;
    // The catalog rowset has no count: always 0.
    int getCount() override;

private:
    std::shared_ptr<Source> source;
    CCatalogs catalogs;
    bool started = false;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
