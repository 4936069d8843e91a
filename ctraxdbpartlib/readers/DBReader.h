#pragma once

#include "interface/Reader.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Base of every database reader: a database record carries its own write
// state, so the reader hands it on. getNext and getCount stay abstract.
template <class T> class DBReader : public Reader<T> {
public:
    int getItemState(std::shared_ptr<T> item) override { return item->getState(); }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
