#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// Implemented by the host: receives progress events.
template <class T> class Observer {
public:
    virtual ~Observer() = default;
    virtual void update(const T &event) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
