// Files read and mapped side by side: the same libraries, summary and
// first error as one file after the other, and a stop that is honoured.

#include "tests/kicad/KicadTestFiles.h"
#include "tests/support/TestDatabase.h"
#include "tools/kicad/KicadImport.h"
#include "tools/kicad/KicadSymbols.h"
#include "tools/kicad/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <set>
#include <stdexcept>

namespace {

std::vector<std::string> packagePaths() {
    std::vector<std::string> paths;
    for (const std::string &name : kicadtest::FILES)
        paths.push_back(kicadtest::path(name));
    return paths;
}

TEST(KicadParallel, FilesReadAndMappedSideBySideGiveWhatOneThreadGives) {
    KICAD_REQUIRE_PACKAGE();
    const std::vector<std::string> paths = packagePaths();
    const std::vector<kicad::SymbolLibrary> alone = kicad::readSymbolLibraries(paths, 1);
    const std::vector<kicad::SymbolLibrary> together = kicad::readSymbolLibraries(paths, 3);
    ASSERT_EQ(alone.size(), paths.size());
    ASSERT_EQ(together.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(together[i].file, paths[i]);
        EXPECT_EQ(together[i].storage->bytes, alone[i].storage->bytes);
        ASSERT_EQ(together[i].symbols.size(), alone[i].symbols.size()) << paths[i];
        for (size_t s = 0; s < alone[i].symbols.size(); ++s)
            EXPECT_EQ(together[i].symbols[s].name, alone[i].symbols[s].name);
    }

    // A library per file, and every file in one library: the libraries come
    // out equal in content and order, and so do the counts of every rule.
    for (const std::string &library : {std::string(), std::string("All of KiCad")}) {
        kicad::ImportOptions options;
        options.library = library;
        options.storedNames = {{"R", "Elsewhere"}};
        options.threads = 1;
        const kicad::Import one = kicad::mapLibraries(alone, options);
        options.threads = 4;
        const kicad::Import four = kicad::mapLibraries(together, options);
        ASSERT_EQ(one.libraries.size(), library.empty() ? paths.size() : 1u);
        ASSERT_EQ(four.libraries.size(), one.libraries.size());
        for (size_t l = 0; l < one.libraries.size(); ++l)
            EXPECT_TRUE(four.libraries[l] == one.libraries[l]) << one.libraries[l].name;
        EXPECT_TRUE(four.summary.counts() == one.summary.counts());
        EXPECT_EQ(four.summary.rules, one.summary.rules);
        EXPECT_EQ(one.summary.files, static_cast<long>(paths.size()));
        EXPECT_GT(one.summary.rules.size(), 5u);
    }
}

TEST(KicadParallel, TheFirstBadFileInTheListIsTheOneReported) {
    KICAD_REQUIRE_PACKAGE();
    const std::string broken = txdbtest::tempFile(".kicad_sym");
    std::ofstream(broken) << "(kicad_symbol_lib (version 20211014)\n  (symbol \"R\"\n";
    const std::string missing = txdbtest::tempDirectory() + "/none.kicad_sym";
    const std::vector<std::string> device(4, kicadtest::path("Device"));
    for (unsigned threads : {1u, 2u, 8u}) {
        std::vector<std::string> paths = device;
        paths.insert(paths.begin() + 2, missing);
        paths.push_back(broken);
        try {
            kicad::readSymbolLibraries(paths, threads);
            ADD_FAILURE() << "accepted";
        } catch (const std::exception &error) {
            EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << threads << ": " << error.what();
        }
        paths.erase(paths.begin() + 2);
        try {
            kicad::readSymbolLibraries(paths, threads);
            ADD_FAILURE() << "accepted";
        } catch (const kicad::ParseError &error) {
            EXPECT_EQ(error.file, broken) << threads;
            EXPECT_EQ(error.line, 3u) << threads;
        }
    }
}

TEST(KicadParallel, EveryIndexRunsOnceAndAStopEndsTheRest) {
    std::mutex guard;
    std::multiset<size_t> done;
    kicad::forEachIndex(1000, 2, [&](size_t i) {
        std::lock_guard<std::mutex> lock(guard);
        done.insert(i);
    });
    ASSERT_EQ(done.size(), 1000u);
    EXPECT_EQ(std::set<size_t>(done.begin(), done.end()).size(), 1000u);

    // Nothing is begun once the stop answers true.
    std::atomic<int> begun{0};
    kicad::forEachIndex(
        1000, 2, [&](size_t) { ++begun; }, [&] { return begun >= 10; });
    EXPECT_GE(begun.load(), 10);
    EXPECT_LE(begun.load(), 11);

    // After a throw no new index starts; the lowest one that threw is reported.
    std::atomic<int> after{0};
    try {
        kicad::forEachIndex(1000, 1, [&](size_t i) {
            if (i >= 5)
                ++after;
            if (i == 3 || i == 4)
                throw std::runtime_error("index " + std::to_string(i));
        });
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "index 3");
    }
    EXPECT_EQ(after.load(), 0);
}

} // namespace
