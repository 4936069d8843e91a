// partlib folder add, rename, move and remove: one folder of a library
// changed through the library writer (LibraryEdit). The parts filed in a
// renamed or moved folder, or below it, follow it.

#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryEdit.h"
#include "tools/partlib/Output.h"

#include <algorithm>

namespace partlib {

namespace {

bool startsWith(const std::vector<std::string> &path, const std::vector<std::string> &prefix) {
    return path.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

class FolderEdit : public LibraryEdit {
public:
    std::string path;

protected:
    // The folders that hold `name` as a sibling would; refused when one of
    // them has that name already.
    void refuseTakenName(const std::vector<hostmodel::Folder> &siblings, const std::string &name,
                         const std::vector<std::string> &parent) const {
        if (std::any_of(siblings.begin(), siblings.end(), [&](const hostmodel::Folder &f) { return f.name == name; }))
            fail("Folder " + printable(parent.empty() ? "(the top level)" : folderText(parent)) + " of library " +
                 printable(libraryName()) + " has a folder named \"" + printable(name) +
                 "\" already: choose another name, or move that folder first");
    }

    // The list that holds the folder at `folder` (the library's top level
    // for a top-level folder).
    std::vector<hostmodel::Folder> &siblingsOf(hostmodel::Library &edited, const std::vector<std::string> &folder) {
        if (folder.size() == 1)
            return edited.folders;
        return findFolder(edited, {folder.begin(), folder.end() - 1}).children;
    }

    // Takes the folder at `folder` out of the tree and returns it.
    hostmodel::Folder detach(hostmodel::Library &edited, const std::vector<std::string> &folder) {
        std::vector<hostmodel::Folder> &siblings = siblingsOf(edited, folder);
        const hostmodel::Folder &found = findFolder(edited, folder);
        hostmodel::Folder taken = std::move(siblings[static_cast<size_t>(&found - siblings.data())]);
        siblings.erase(siblings.begin() + (&found - siblings.data()));
        return taken;
    }

    // The parts at `from` or below filed at `to` instead.
    static void refile(hostmodel::Library &edited, const std::vector<std::string> &from,
                       const std::vector<std::string> &to) {
        for (hostmodel::Part &part : edited.parts)
            if (startsWith(part.folder, from)) {
                std::vector<std::string> moved = to;
                moved.insert(moved.end(), part.folder.begin() + static_cast<std::ptrdiff_t>(from.size()),
                             part.folder.end());
                part.folder = std::move(moved);
            }
    }
};

class FolderAdd : public FolderEdit {
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        const std::vector<std::string> folder = folderPath(path, "PATH");
        std::vector<hostmodel::Folder> *level = &edited.folders;
        for (size_t depth = 0; depth + 1 < folder.size(); ++depth) {
            auto at = std::find_if(level->begin(), level->end(),
                                   [&](const hostmodel::Folder &f) { return f.name == folder[depth]; });
            level =
                at == level->end() ? &level->emplace_back(hostmodel::Folder{folder[depth]}).children : &at->children;
        }
        refuseTakenName(*level, folder.back(), {folder.begin(), folder.end() - 1});
        level->push_back(hostmodel::Folder{folder.back()});
    }
    std::string what() const override { return "folder " + printable(path) + " added"; }
};

class FolderRename : public FolderEdit {
public:
    std::string newName;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        const std::vector<std::string> folder = folderPath(path, "PATH");
        findFolder(edited, folder);
        if (newName.find('/') != std::string::npos)
            fail("NEW_NAME \"" + printable(newName) +
                 "\" holds a '/': a folder name cannot; to file the folder elsewhere use partlib folder move");
        std::vector<std::string> renamed = folder;
        renamed.back() = folderPath(newName, "NEW_NAME").front();
        refuseTakenName(siblingsOf(edited, folder), renamed.back(), {folder.begin(), folder.end() - 1});
        findFolder(edited, folder).name = renamed.back();
        refile(edited, folder, renamed);
    }
    std::string what() const override { return "folder " + printable(path) + " renamed to " + printable(newName); }
};

class FolderMove : public FolderEdit {
public:
    std::string parent;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        const std::vector<std::string> folder = folderPath(path, "PATH");
        findFolder(edited, folder);
        const std::vector<std::string> to = parent == "/" ? std::vector<std::string>() : folderPath(parent, "PARENT");
        if (startsWith(to, folder))
            fail("Folder " + printable(path) +
                 " cannot be moved into itself or a folder below it: choose a "
                 "PARENT outside it");
        std::vector<hostmodel::Folder> &target = to.empty() ? edited.folders : findFolder(edited, to).children;
        refuseTakenName(target, folder.back(), to);
        hostmodel::Folder moved = detach(edited, folder);
        (to.empty() ? edited.folders : findFolder(edited, to).children).push_back(std::move(moved));
        std::vector<std::string> placed = to;
        placed.push_back(folder.back());
        refile(edited, folder, placed);
    }
    std::string what() const override {
        return "folder " + printable(path) + " moved to " + (parent == "/" ? "the top level" : printable(parent));
    }
};

class FolderRemove : public FolderEdit {
public:
    bool recursive = false;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        const std::vector<std::string> folder = folderPath(path, "PATH");
        findFolder(edited, folder);
        const auto filed = [&](const hostmodel::Part &part) { return startsWith(part.folder, folder); };
        const long parts = std::count_if(edited.parts.begin(), edited.parts.end(), filed);
        if (parts > 0 && !recursive)
            fail("Folder " + printable(path) + " of library " + printable(libraryName()) + " holds " +
                 std::to_string(parts) + (parts == 1 ? " part" : " parts") +
                 " (in it or below): move them first (partlib part move), or pass --recursive to remove them "
                 "with the folder");
        edited.parts.erase(std::remove_if(edited.parts.begin(), edited.parts.end(), filed), edited.parts.end());
        detach(edited, folder);
    }
    std::string what() const override {
        return "folder " + printable(path) + (recursive ? " removed with what it held" : " removed");
    }
};

} // namespace

void addFolderCommands(CLI::App &app) {
    CLI::App *group = LibraryEdit::addGroup(
        app, "folder", "Add, rename, move or remove one folder of a library",
        "PATH names a folder by its names from the top level down, e.g. Passives/Resistors. The parts filed in a\n"
        "renamed or moved folder, or below it, follow it; a renamed or moved folder is written anew, with the\n"
        "folders below it.");

    auto add = std::make_shared<FolderAdd>();
    CLI::App *command =
        LibraryEdit::add(*group, "add", "Add a folder (and the folders on the way to it that are missing)", add);
    command->add_option("PATH", add->path, "The new folder, e.g. Passives/Resistors/SMD")->required();

    auto rename = std::make_shared<FolderRename>();
    command = LibraryEdit::add(*group, "rename", "Give a folder another name", rename);
    command->add_option("PATH", rename->path, "The folder")->required();
    command->add_option("NEW_NAME", rename->newName, "Its new name (one name, no '/')")->required();

    auto move = std::make_shared<FolderMove>();
    command = LibraryEdit::add(*group, "move", "Move a folder, with what it holds, into another folder", move);
    command->add_option("PATH", move->path, "The folder")->required();
    command->add_option("PARENT", move->parent, "The folder to move it into; / for the top level")->required();

    auto remove = std::make_shared<FolderRemove>();
    command = LibraryEdit::add(*group, "remove", "Remove a folder with the folders below it", remove);
    command->add_option("PATH", remove->path, "The folder")->required();
    command->add_flag("--recursive", remove->recursive, "Also remove the parts filed in it or below it");
}

} // namespace partlib
