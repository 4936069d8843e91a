// partlib part add, set, move, rename and remove: one part of a library
// changed through the library writer (LibraryEdit).

#include "tools/partlib/Commands.h"
#include "tools/partlib/LibraryEdit.h"
#include "tools/partlib/Output.h"

#include <algorithm>

namespace partlib {

namespace {

// The options of a part's fields; those given replace the stored values.
struct PartFields {
    std::optional<std::string> folder, definition, number, description, pspice, version, acceptance, type;

    void addTo(CLI::App &command) {
        command.add_option("--folder", folder, "The folder it is filed in, e.g. Passives/Resistors");
        command.add_option("--definition", definition, "The part definition it uses (one of the library's)");
        command.add_option("--number", number, "Part number");
        command.add_option("--description", description, "Description");
        command.add_option("--pspice", pspice, "PSpice data");
        command.add_option("--version", version, "Version, a whole number");
        command.add_option("--acceptance", acceptance, "Acceptance");
        command.add_option("--type", type, "Type code, a whole number (a changed type makes the part anew)");
    }

    bool any() const {
        return folder || definition || number || description || pspice || version || acceptance || type;
    }

    void applyTo(hostmodel::Part &part) const {
        if (folder)
            part.folder = folderPath(*folder, "--folder");
        if (definition)
            part.definition = *definition;
        if (number)
            part.number = optionText(*number, "Parts", "Part_number", "--number");
        if (description)
            part.description = optionText(*description, "Parts", "Description", "--description");
        if (pspice)
            part.pspice = optionText(*pspice, "Parts", "PSpice_data", "--pspice");
        if (version)
            part.version = optionNumber(*version, "--version");
        if (acceptance)
            part.acceptance = optionText(*acceptance, "Parts", "Part_Acceptance", "--acceptance");
        if (type)
            part.type = optionNumber(*type, "--type");
    }
};

// What every part edit checks of the part it leaves: its folder and its
// definition are the library's.
class PartEdit : public LibraryEdit {
protected:
    void checkReferences(hostmodel::Library &edited, const hostmodel::Part &part) const {
        findFolder(edited, part.folder);
        if (std::none_of(edited.definitions.begin(), edited.definitions.end(),
                         [&](const hostmodel::PartDefinition &d) { return d.name == part.definition; }))
            findDefinition(edited, part.definition);
    }
};

class PartAdd : public PartEdit {
public:
    std::string name;
    PartFields fields;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &names) override {
        refuseTakenPartName(edited, names, name);
        hostmodel::Part part{checkedText(name, "Parts", "Name", "NAME")};
        fields.applyTo(part);
        checkReferences(edited, part);
        edited.parts.push_back(std::move(part));
    }
    std::string what() const override { return "part " + printable(name) + " added"; }
};

class PartSet : public PartEdit {
public:
    std::string name;
    PartFields fields;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        hostmodel::Part &part = findPart(edited, name);
        if (!fields.any())
            fail("partlib part set changes the fields its options name: give at least one, e.g. --description "
                 "TEXT (partlib part set --help lists them)");
        fields.applyTo(part);
        checkReferences(edited, part);
    }
    std::string what() const override { return "part " + printable(name) + " changed"; }
};

class PartMove : public PartEdit {
public:
    std::string name, folder;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        hostmodel::Part &part = findPart(edited, name);
        part.folder = folderPath(folder, "FOLDER");
        checkReferences(edited, part);
    }
    std::string what() const override { return "part " + printable(name) + " moved to " + printable(folder); }
};

class PartRename : public PartEdit {
public:
    std::string name, newName;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &names) override {
        findPart(edited, name);
        refuseTakenPartName(edited, names, newName);
        findPart(edited, name).name = checkedText(newName, "Parts", "Name", "NEW_NAME");
    }
    std::string what() const override { return "part " + printable(name) + " renamed to " + printable(newName); }
};

class PartRemove : public PartEdit {
public:
    std::string name;

private:
    void change(hostmodel::Library &edited, const libraryfile::StoredNames &) override {
        const hostmodel::Part &part = findPart(edited, name);
        edited.parts.erase(edited.parts.begin() + (&part - edited.parts.data()));
    }
    std::string what() const override { return "part " + printable(name) + " removed"; }
};

} // namespace

void addPartCommands(CLI::App &app) {
    CLI::App *group =
        LibraryEdit::addGroup(app, "part", "Add, change, move, rename or remove one part of a library",
                              "A folder is written with its names from the top level down, e.g. Passives/Resistors.");

    auto add = std::make_shared<PartAdd>();
    CLI::App *command = LibraryEdit::add(*group, "add", "Add a part to a library", add);
    command->add_option("NAME", add->name, "The new part's name (unique in the database)")->required();
    add->fields.addTo(*command);
    command->get_option("--folder")->required();
    command->get_option("--definition")->required();

    auto set = std::make_shared<PartSet>();
    command = LibraryEdit::add(*group, "set", "Change fields of a part (the options given)", set);
    command->add_option("NAME", set->name, "The part")->required();
    set->fields.addTo(*command);

    auto move = std::make_shared<PartMove>();
    command = LibraryEdit::add(*group, "move", "File a part in another folder of its library", move);
    command->add_option("NAME", move->name, "The part")->required();
    command->add_option("FOLDER", move->folder, "The folder, e.g. Passives/Resistors")->required();

    auto rename = std::make_shared<PartRename>();
    command = LibraryEdit::add(*group, "rename", "Give a part another name", rename);
    command->add_option("NAME", rename->name, "The part")->required();
    command->add_option("NEW_NAME", rename->newName, "Its new name (unique in the database)")->required();

    auto remove = std::make_shared<PartRemove>();
    command = LibraryEdit::add(*group, "remove", "Remove a part from its library", remove);
    command->add_option("NAME", remove->name, "The part")->required();
}

} // namespace partlib
