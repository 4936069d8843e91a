#pragma once

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// Implemented by the host: receives progress events.
/// The host attaches it to a writer with Subject::attach in a std::shared_ptr; the
/// writer shares its ownership until the writer goes or the observer is detached.
/// update is called synchronously, on the thread that called Writer::write.
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one; the class
/// grows only at its end (SlotOrderTest holds the order).
template <class T> class Observer {
public:
    virtual ~Observer() = default;
    /// Receives one event, synchronously on the writing thread, before the item
    /// it names is written. An exception thrown here leaves the write (which
    /// then aborts its transaction).
    virtual void update(const T &event) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
