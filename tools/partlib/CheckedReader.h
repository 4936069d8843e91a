#pragma once

// A reader that runs a check before it hands out its first record. A
// library writer asks for its first library once its transaction has begun
// and holds the database's write lock, so the check sees the database as
// the write will find it, and what it throws aborts the write with nothing
// written.
//
//   auto reader = std::make_shared<CheckedReader<LibraryAccess>>(libraries, [&] { refuseIfChanged(); });
//   writer->write(reader, cancel);

#include "interface/Reader.h"

#include <functional>
#include <memory>
#include <utility>

namespace partlib {

template <class T> class CheckedReader : public COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<T> {
public:
    CheckedReader(std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<T>> reader, std::function<void()> check)
        : reader(std::move(reader)), check(std::move(check)) {}

    std::shared_ptr<T> getNext() override {
        if (check) {
            const std::function<void()> once = std::move(check);
            check = nullptr;
            once();
        }
        return reader->getNext();
    }
    int getItemState(std::shared_ptr<T> item) override { return reader->getItemState(std::move(item)); }
    int getCount() override { return reader->getCount(); }

private:
    std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::Reader<T>> reader;
    std::function<void()> check;
};

} // namespace partlib
