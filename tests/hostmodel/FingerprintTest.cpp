// A library's fingerprint: the same for equal content whatever the write
// states, different for a change of any kind that a writer could make.

#include "tools/hostmodel/Fingerprint.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace hostmodel;

Library sample() {
    Library library{"Demo"};
    addFolder(library, {"Passives", "Resistors"});
    PartDefinition r = definition("R0603", "RES0603", {"1", "2"});
    r.gates.push_back(gate("A", {"1", "2"}));
    r.pinEquivalences.push_back(pinEquivalence({"1", "2"}));
    r.attributes.push_back({"Value", "10k"});
    library.definitions.push_back(r);
    library.parts.push_back(part("R1", {"Passives", "Resistors"}, "R0603"));
    return library;
}

TEST(Fingerprint, EqualContentGivesOneFingerprintAndEveryChangeAnother) {
    Library stated = sample();
    stated.state = UNCHANGED;
    stated.parts[0].state = MODIFIED;
    EXPECT_EQ(fingerprint(stated), fingerprint(sample()));

    const std::function<void(Library &)> changes[] = {
        [](Library &l) { l.enabled = false; },
        [](Library &l) { l.comment = ""; }, // NULL and empty differ
        [](Library &l) { l.folders[0].children[0].name = "Resistor"; },
        [](Library &l) { l.definitions[0].pins[1].label = "B"; },
        [](Library &l) { l.definitions[0].gates[0].pins.pop_back(); },
        [](Library &l) { l.definitions[0].attributes[0].readOnly = 1; },
        // A character moved from one text to the next: still another.
        [](Library &l) {
            l.definitions[0].attributes[0].name = "Valu";
            l.definitions[0].attributes[0].value = "e10k";
        },
        [](Library &l) { l.parts[0].folder = {"Passives"}; },
        [](Library &l) { l.parts[0].version = 0; },
        [](Library &l) { l.parts.push_back(part("R2", {"Passives"}, "R0603")); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        Library changed = sample();
        changes[i](changed);
        EXPECT_NE(fingerprint(changed), fingerprint(sample())) << "change " << i;
    }
}

} // namespace
