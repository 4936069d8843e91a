#include "tools/libraryfile/LibrarySync.h"

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

    void plan1(const Library &file, const Library *stored) {
        Library write = file;
        write.selection = SelectionMode::Split; // every item in the first passes, none in the second
        write.state = !stored                                                              ? NEW
                      : file.enabled == stored->enabled && file.comment == stored->comment ? UNCHANGED
                                                                                           : MODIFIED;
        count(LIBRARIES, write.state);
        write.folders = mergedFolders(file.folders, stored ? &stored->folders : nullptr);
        const auto storedDefinitions = stored ? byKey(stored->definitions, [](auto &d) { return d.name; })
                                              : std::unordered_map<std::string, const PartDefinition *>();
        for (PartDefinition &definition : write.definitions) {
            auto found = storedDefinitions.find(definition.name);
            mergeDefinition(definition, found == storedDefinitions.end() ? nullptr : found->second);
        }
        write.parts = mergedParts(file.parts, stored ? &stored->parts : nullptr);
        plan.writes.push_back(std::move(write));

        if (!stored || !prune)
            return;
        // What the file lacks goes once the parts no longer use it.
        Library removals{stored->name, stored->enabled, stored->comment};
        removals.selection = SelectionMode::Split;
        removals.state = UNCHANGED;
        removals.folders = prunedFolders(stored->folders, &file.folders);
        const auto fileDefinitions = byKey(file.definitions, [](auto &d) { return d.name; });
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
    std::vector<Folder> mergedFolders(const std::vector<Folder> &file, const std::vector<Folder> *stored) {
        std::vector<Folder> merged = file;
        const auto storedByName = stored ? byKey(*stored, nameOf) : std::unordered_map<std::string, const Folder *>();
        for (Folder &folder : merged) {
            auto found = storedByName.find(folder.name);
            if (found == storedByName.end()) {
                markNew(folder);
                continue;
            }
            folder.state = UNCHANGED;
            folder.children = mergedFolders(folder.children, &found->second->children);
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

    std::vector<Part> mergedParts(const std::vector<Part> &file, const std::vector<Part> *stored) {
        std::vector<Part> merged;
        merged.reserve(file.size());
        const auto storedByName = stored ? byKey(*stored, [](const Part &part) { return part.name; })
                                         : std::unordered_map<std::string, const Part *>();
        for (const Part &part : file) {
            auto found = storedByName.find(part.name);
            merged.push_back(part);
            Part &write = merged.back();
            if (found == storedByName.end()) {
                write.state = NEW;
            } else if (*found->second == part) {
                write.state = UNCHANGED;
            } else if (found->second->type != part.type) {
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
            const auto fileByName = byKey(file, [](const Part &part) { return part.name; });
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

void planImport(ImportPlan &plan, const Library &file, const Library *stored, bool prune) {
    Planner(plan, prune).plan1(file, stored);
}

} // namespace libraryfile
