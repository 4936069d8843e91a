#include "tools/libraryfile/LibrarySync.h"

#include "tools/libraryfile/LibraryFile.h"

#include <algorithm>
#include <unordered_map>

namespace libraryfile {

namespace {

using namespace hostmodel;

// The items of a list by a key, for the matching of a file's list with the
// stored one.
template <class T, class Key> std::unordered_map<std::string, const T *> byKey(const std::vector<T> &items, Key key) {
    std::unordered_map<std::string, const T *> found;
    for (const T &item : items)
        found.emplace(key(item), &item);
    return found;
}

const std::string &nameOf(const Folder &folder) {
    return folder.name;
}

long folderCount(const std::vector<Folder> &folders) {
    long count = 0;
    for (const Folder &folder : folders)
        count += 1 + folderCount(folder.children);
    return count;
}

class Planner {
public:
    Planner(ImportPlan &plan, bool prune) : plan(plan), prune(prune) {}

    void plan1(Library file, const Library *stored) {
        Library write = std::move(file);
        write.selection = SelectionMode::Split; // every item in the first passes, none in the second
        write.state = !stored                                                                ? NEW
                      : write.enabled == stored->enabled && write.comment == stored->comment ? UNCHANGED
                                                                                             : MODIFIED;
        count(LIBRARIES, write.state);
        write.folders = mergedFolders(std::move(write.folders), stored ? &stored->folders : nullptr);
        const auto storedDefinitions = stored ? byKey(stored->definitions, [](auto &d) { return d.name; })
                                              : std::unordered_map<std::string, const PartDefinition *>();
        for (PartDefinition &definition : write.definitions) {
            auto found = storedDefinitions.find(definition.name);
            mergeDefinition(definition, found == storedDefinitions.end() ? nullptr : found->second);
        }
        write.parts = mergedParts(std::move(write.parts), stored ? &stored->parts : nullptr);
        if (!stored || !prune) {
            plan.writes.push_back(std::move(write));
            return;
        }
        // What the file lacks goes once the parts no longer use it.
        Library removals{stored->name, stored->enabled, stored->comment};
        removals.selection = SelectionMode::Split;
        removals.state = UNCHANGED;
        removals.folders = prunedFolders(stored->folders, &write.folders);
        const auto fileDefinitions = byKey(write.definitions, [](auto &d) { return d.name; });
        for (const PartDefinition &definition : stored->definitions)
            if (!fileDefinitions.count(definition.name)) {
                PartDefinition removed{definition.name, definition.pcbComponentName};
                removed.details = false;
                removed.state = DELETED;
                removals.definitions.push_back(std::move(removed));
                count(DEFINITIONS, DELETED);
                countDetails(definition, DELETED);
                plan.removedDefinitions.emplace_back(stored->name, definition.name);
            }
        plan.writes.push_back(std::move(write));
        if (!removals.folders.empty() || !removals.definitions.empty())
            plan.writes.push_back(std::move(removals));
    }

private:
    void count(Kind kind, int state, long items = 1) {
        Changes &changes = plan.changes[kind];
        if (state == NEW)
            changes.inserted += items;
        else if (state == MODIFIED)
            changes.updated += items;
        else if (state == DELETED)
            changes.removed += items;
    }

    // The file's folders, those the database holds already UNCHANGED, the
    // others NEW with everything below them.
    std::vector<Folder> mergedFolders(std::vector<Folder> merged, const std::vector<Folder> *stored) {
        const auto storedByName = stored ? byKey(*stored, nameOf) : std::unordered_map<std::string, const Folder *>();
        for (Folder &folder : merged) {
            auto found = storedByName.find(folder.name);
            if (found == storedByName.end()) {
                markNew(folder);
                continue;
            }
            folder.state = UNCHANGED;
            folder.children = mergedFolders(std::move(folder.children), &found->second->children);
        }
        return merged;
    }

    void markNew(Folder &folder) {
        folder.state = NEW;
        count(FOLDERS, NEW);
        for (Folder &child : folder.children)
            markNew(child);
    }

    // The stored folders that the file lacks, DELETED (with what is below
    // them), and the UNCHANGED folders on the way to them.
    std::vector<Folder> prunedFolders(const std::vector<Folder> &stored, const std::vector<Folder> *file) {
        std::vector<Folder> pruned;
        const auto fileByName = byKey(*file, nameOf);
        for (const Folder &folder : stored) {
            auto kept = fileByName.find(folder.name);
            if (kept == fileByName.end()) {
                Folder removed{folder.name};
                removed.state = DELETED;
                count(FOLDERS, DELETED, 1 + folderCount(folder.children));
                pruned.push_back(std::move(removed));
                continue;
            }
            std::vector<Folder> below = prunedFolders(folder.children, &kept->second->children);
            if (!below.empty()) {
                Folder way{folder.name, std::move(below)};
                way.state = UNCHANGED;
                pruned.push_back(std::move(way));
            }
        }
        return pruned;
    }

    void countDetails(const PartDefinition &definition, int state) {
        count(PINS, state, static_cast<long>(definition.pins.size()));
        count(GATES, state, static_cast<long>(definition.gates.size()));
        count(GATE_SWAPS, state, static_cast<long>(definition.gateSwaps.size()));
        count(PIN_EQUIVALENCES, state, static_cast<long>(definition.pinEquivalences.size()));
        count(ATTRIBUTES, state, static_cast<long>(definition.attributes.size()));
    }

    // Lists replaced whole are counted position by position.
    template <class T> void countReplaced(Kind kind, const std::vector<T> &file, const std::vector<T> &stored) {
        const size_t common = std::min(file.size(), stored.size());
        for (size_t i = 0; i < common; ++i)
            if (file[i] != stored[i])
                count(kind, MODIFIED);
        count(kind, NEW, static_cast<long>(file.size() - common));
        count(kind, DELETED, static_cast<long>(stored.size() - common));
    }

    // Items matched by a key: UNCHANGED when equal, MODIFIED when not, NEW
    // when the database lacks them; the stored ones the file lacks are
    // appended as DELETED when pruning.
    template <class T, class Key>
    void matchItems(Kind kind, std::vector<T> &items, const std::vector<T> &stored, Key key) {
        const auto storedByKey = byKey(stored, key);
        for (T &item : items) {
            auto found = storedByKey.find(key(item));
            item.state = found == storedByKey.end() ? NEW : *found->second == item ? UNCHANGED : MODIFIED;
            count(kind, item.state);
        }
        if (!prune)
            return;
        const auto fileByKey = byKey(items, key);
        for (const T &old : stored)
            if (!fileByKey.count(key(old))) {
                T removed = old;
                removed.state = DELETED;
                count(kind, DELETED);
                items.push_back(std::move(removed));
            }
    }

    // A stored pin whose identifier the file spells in another case: the
    // file's pin is inserted, and the stored one must go, as the writers
    // link pins to gates and groups regardless of case.
    void removeRespelledPins(std::vector<Pin> &pins, const std::vector<Pin> &stored) {
        std::unordered_map<std::string, std::string> spelling; // pinKey -> the file's identifier
        for (const Pin &pin : pins)
            spelling.emplace(pinKey(pin.identifier.value_or("")), pin.identifier.value_or(""));
        for (const Pin &old : stored) {
            auto respelled = spelling.find(pinKey(old.identifier.value_or("")));
            if (respelled == spelling.end() || respelled->second == old.identifier.value_or(""))
                continue;
            Pin removed = old;
            removed.state = DELETED;
            count(PINS, DELETED);
            pins.push_back(std::move(removed));
        }
    }

    void mergeDefinition(PartDefinition &definition, const PartDefinition *stored) {
        if (!stored) {
            definition.state = NEW;
            count(DEFINITIONS, NEW);
            countDetails(definition, NEW);
            return;
        }
        if (definition == *stored) {
            // Only found, so that its parts resolve it; its details stay.
            definition.state = UNCHANGED;
            definition.details = false;
            return;
        }
        definition.state = MODIFIED;
        count(DEFINITIONS, MODIFIED);
        matchItems(PINS, definition.pins, stored->pins, [](const Pin &pin) { return pin.identifier.value_or(""); });
        if (!prune) // which has removed them already
            removeRespelledPins(definition.pins, stored->pins);
        matchItems(ATTRIBUTES, definition.attributes, stored->attributes,
                   [](const Attribute &attribute) { return attribute.name; });
        countReplaced(GATES, definition.gates, stored->gates);
        countReplaced(GATE_SWAPS, definition.gateSwaps, stored->gateSwaps);
        countReplaced(PIN_EQUIVALENCES, definition.pinEquivalences, stored->pinEquivalences);
        for (Gate &gate : definition.gates)
            gate.state = NEW;
        for (GateSwap &swap : definition.gateSwaps)
            swap.state = NEW;
        for (PinEquivalence &group : definition.pinEquivalences)
            group.state = NEW;
    }

    std::vector<Part> mergedParts(std::vector<Part> file, const std::vector<Part> *stored) {
        std::vector<Part> merged;
        merged.reserve(file.size());
        const auto storedByName = stored ? byKey(*stored, [](const Part &part) { return part.name; })
                                         : std::unordered_map<std::string, const Part *>();
        for (Part &part : file) {
            auto found = storedByName.find(part.name);
            const bool same = found != storedByName.end() && *found->second == part;
            const bool retyped = found != storedByName.end() && found->second->type != part.type;
            merged.push_back(std::move(part));
            Part &write = merged.back();
            if (found == storedByName.end()) {
                write.state = NEW;
            } else if (same) {
                write.state = UNCHANGED;
            } else if (retyped) {
                // An update keeps the stored type: the part is made anew.
                Part removed = *found->second;
                removed.state = DELETED;
                merged.insert(merged.end() - 1, std::move(removed));
                merged.back().state = NEW;
                count(PARTS, MODIFIED);
                continue;
            } else {
                write.state = MODIFIED;
            }
            count(PARTS, write.state);
        }
        if (stored && prune) {
            // The stored parts in the list are those the file names as well.
            const auto fileByName = byKey(merged, [](const Part &part) { return part.name; });
            for (const Part &old : *stored)
                if (!fileByName.count(old.name)) {
                    Part removed = old;
                    removed.state = DELETED;
                    count(PARTS, DELETED);
                    merged.push_back(std::move(removed));
                }
        }
        return merged;
    }

    ImportPlan &plan;
    bool prune;
};

} // namespace

const char *kindName(Kind kind) {
    static const char *const names[KIND_COUNT] = {"libraries",  "folders",          "part definitions", "pins", "gates",
                                                  "gate swaps", "pin equivalences", "attributes",       "parts"};
    return names[kind];
}

bool ImportPlan::changesNothing() const {
    return std::all_of(changes.begin(), changes.end(),
                       [](const Changes &c) { return c.inserted == 0 && c.updated == 0 && c.removed == 0; });
}

std::string ImportPlan::describe() const {
    std::string text;
    for (int kind = 0; kind < KIND_COUNT; ++kind) {
        const Changes &c = changes[kind];
        if (c.inserted == 0 && c.updated == 0 && c.removed == 0)
            continue;
        text += std::string("  ") + kindName(static_cast<Kind>(kind)) + ": " + std::to_string(c.inserted) +
                " inserted, " + std::to_string(c.updated) + " updated, " + std::to_string(c.removed) + " removed\n";
    }
    return text.empty() ? "  nothing to change\n" : text;
}

void planImport(ImportPlan &plan, Library file, const Library *stored, bool prune) {
    Planner(plan, prune).plan1(std::move(file), stored);
}

} // namespace libraryfile
