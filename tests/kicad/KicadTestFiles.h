#pragma once

// The KiCad symbol libraries of Debian's kicad-symbols package that the
// tests read (never copied into the repository), and crude counts of what a
// file holds, made by searching its text rather than by parsing it.

#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace kicadtest {

inline const std::string SYMBOLS = "/usr/share/kicad/symbols/";

inline const std::vector<std::string> FILES = {
    "Device", "74xx", "power", "Connector_Generic", "MCU_ST_STM32F1", "FPGA_Xilinx_Virtex7"};

inline std::string path(const std::string &name) {
    return SYMBOLS + name + ".kicad_sym";
}

// Skips the test when the package is not installed.
#define KICAD_REQUIRE_PACKAGE()                                                                                        \
    if (!std::filesystem::exists(kicadtest::path("Device")))                                                           \
    GTEST_SKIP() << "Debian's kicad-symbols package is not installed (" << kicadtest::SYMBOLS                          \
                 << "); scripts/install-deps.sh installs it"

struct TextCounts {
    long symbols = 0, derived = 0, units = 0, pins = 0;
};

// Symbols are `(symbol "NAME"`, units `(symbol "NAME_u_b"`, pins `(pin `
// at the start of a line (only root symbols draw pins), derived symbols
// `(extends `.
inline TextCounts countText(const std::string &text) {
    TextCounts counts;
    static const std::regex unit("_[0-9]+_[0-9]+$");
    for (size_t at = text.find("(symbol \""); at != std::string::npos; at = text.find("(symbol \"", at + 1)) {
        const size_t nameStart = at + 9;
        const std::string name = text.substr(nameStart, text.find('"', nameStart) - nameStart);
        (std::regex_search(name, unit) ? counts.units : counts.symbols)++;
    }
    // A pin starts its line; "(pin " inside a description does not count.
    for (size_t at = text.find("(pin "); at != std::string::npos; at = text.find("(pin ", at + 1))
        counts.pins += text.find_last_not_of(' ', at - 1) == text.rfind('\n', at);
    for (size_t at = text.find("(extends \""); at != std::string::npos; at = text.find("(extends \"", at + 1))
        ++counts.derived;
    return counts;
}

} // namespace kicadtest
