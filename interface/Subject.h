#pragma once

#include "interface/Observer.h"

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// The observer list that every writer carries. Attaching shares ownership of
/// the observer; the list releases every observer when the subject goes.
/// The list is not synchronised: attach, detach and write from one thread. The
/// events reach the observers synchronously, on the thread that notifies.
/// The declared order of the virtual functions, the destructor first, is the
/// host's vtable slot order: never reorder, remove or insert one. Writer
/// continues these slots, so Subject cannot grow without moving Writer's.
template <class T> class Subject {
public:
    virtual ~Subject() = default;

    /// Attaches every observer of `other`, in its order.
    virtual void attachAll(Subject<T> &other) {
        for (size_t index = 0; index < other.getObserverCount(); ++index)
            attach(other.getObserver(index));
    }

    /// Appends the observer and shares its ownership; the same observer may be
    /// attached more than once. The library writers refuse a null observer with
    /// "Invalid Null observer passed" (32970).
    virtual void attach(std::shared_ptr<Observer<T>> observer) { observers.push_back(observer); }

    /// Removes the first entry holding the same object; no entry, no change. The
    /// library writers refuse a null observer with 32970.
    virtual void detach(std::shared_ptr<Observer<T>> observer) {
        for (auto it = observers.begin(); it != observers.end(); ++it) {
            if (*it == observer) {
                observers.erase(it);
                return;
            }
        }
    }

    /// Passes on table progress events (write type 10) to every observer; an
    /// event of any other type reaches none.
    virtual void notifyProgress(const T &event) {
        if (event.writeType == PROGRESS_WRITE_TYPE)
            notify(event);
    }

    /// Passes the event to every observer, in attachment order, on this thread.
    virtual void notify(const T &event) {
        for (const auto &observer : observers)
            observer->update(event);
    }

    /// @return the observer at `index`.
    /// @throws std::out_of_range "invalid vector<T> subscript" for an index not
    ///         below getObserverCount (not an Exception).
    virtual std::shared_ptr<Observer<T>> getObserver(size_t index) {
        if (index >= observers.size())
            throw std::out_of_range("invalid vector<T> subscript");
        return observers[index];
    }

    /// @return the number of attached entries.
    virtual size_t getObserverCount() { return observers.size(); }

    static constexpr int PROGRESS_WRITE_TYPE = 10;

private:
    std::vector<std::shared_ptr<Observer<T>>> observers;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
