#pragma once

// Independent pieces of work (one per file) spread over the cores.
//
//   std::vector<Result> results(files.size());
//   kicad::forEachIndex(files.size(), 0, [&](size_t i) { results[i] = work(files[i]); });
//
// Each index is taken once, in ascending order, by the calling thread and
// up to threads - 1 helpers (threads 0: one per core). Once an index
// throws, or `stop` answers true, no further index is begun; the pieces
// already begun finish. Then the exception of the lowest index that threw
// is rethrown: the same one a loop over the indices in order would have
// thrown, since every lower index was begun before it.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

namespace kicad {

template <class Work>
void forEachIndex(size_t count, unsigned threads, Work work, const std::function<bool()> &stop = {}) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<size_t>(threads, count));
    std::vector<std::exception_ptr> errors(count);
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    const auto run = [&] {
        for (size_t i; !failed && !(stop && stop()) && (i = next++) < count;) {
            try {
                work(i);
            } catch (...) {
                errors[i] = std::current_exception();
                failed = true;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(run);
        } catch (const std::system_error &) {
            break; // no more threads to be had: fewer helpers
        }
    }
    run();
    for (std::thread &helper : helpers)
        helper.join();
    for (const std::exception_ptr &error : errors)
        if (error)
            std::rethrow_exception(error);
}

} // namespace kicad
