// partlib kicad-dbl: the views that KiCad reads a database library from, and
// the .kicad_dbl file that points KiCad at them.

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/connection/OdbcSupport.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/LibraryAccess.h"
#include "tools/partlib/CheckedOutput.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/KicadDbl.h"
#include "tools/partlib/KicadDblCheck.h"
#include "tools/partlib/KicadDblFile.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/ReadTransaction.h"
#include "tools/partlib/SameDatabase.h"
#include "tools/partlib/Signals.h"
#include "tools/partlib/StoredLibrary.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace partlib {

namespace {

namespace DBIMPL = COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t;

// The name of Debian's SQLite ODBC driver (libsqliteodbc) in odbcinst.ini.
const char *const SQLITE_DRIVER = "SQLite3";

// Where KiCad's own symbol libraries are installed.
const char *const INSTALLED_SYMBOLS = "/usr/share/kicad/symbols";

struct KicadDblArguments {
    std::string database;
    std::vector<std::string> libraries;
    std::optional<std::string> output;
    bool withPassword = false;
    std::optional<std::string> check;
    std::optional<std::string> symbols;
};

// How KiCad reaches the database that `database` names, and the name the
// file gives it.
std::pair<std::string, KicadSource> sourceOf(const std::string &database, bool withPassword) {
    DBIMPL::InitString init;
    DBIMPL::InitString::parse(initialisationStringOf(database), init);
    KicadSource source;
    const std::string file = databaseFileOf(database);
    if (!file.empty()) {
        const std::string absolute = std::filesystem::absolute(file).lexically_normal().string();
        source.connectionString =
            DBIMPL::odbcConnectionString(DBIMPL::InitString{{{"Driver", SQLITE_DRIVER}, {"Database", absolute}}});
        return {std::filesystem::path(file).stem().string(), source};
    }
    source.username = init.has("User ID") ? init.get("User ID") : init.get("UID");
    if (withPassword)
        source.password = init.has("Password") ? init.get("Password") : init.get("PWD");
    if (init.has("DSN")) {
        source.dsn = init.get("DSN");
    } else {
        // KiCad connects with the connection string alone: the user goes
        // into it, and the password when asked for.
        DBIMPL::InitString kept;
        for (const auto &pair : init.pairs)
            if (withPassword || !DBIMPL::isPasswordKey(pair.first))
                kept.pairs.push_back(pair);
        source.connectionString = DBIMPL::odbcConnectionString(kept);
        source.password.clear();
    }
    const std::string catalog = init.has("Initial Catalog") ? init.get("Initial Catalog") : init.get("Database");
    return {catalog.empty() ? source.dsn : catalog, source};
}

// Whether the database has a view of that name already.
bool viewExists(const pathHandle_t &path, const KicadView &view) {
    try {
        DBIMPL::CTraxDBInspector(path).queryTexts("SELECT COUNT(*) FROM [" + view.view + "] WHERE 1 = 0", 1);
        return true;
    } catch (COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *e) {
        delete e;
        return false;
    }
}

// Replacing views or a file that are there is asked first (--yes answers).
void confirmReplacing(const pathHandle_t &path, const std::vector<KicadView> &views, const std::string &file) {
    std::vector<std::string> there;
    for (const KicadView &view : views)
        if (viewExists(path, view))
            there.push_back(view.view);
    std::error_code error;
    const bool fileThere = file != "-" && std::filesystem::exists(file, error);
    if (there.empty() && !fileThere)
        return;
    std::string question = "Replace ";
    if (!there.empty())
        question += std::to_string(there.size()) + " view" + (there.size() == 1 ? "" : "s") + " (" +
                    printable(there.front()) + (there.size() > 1 ? ", ..." : "") + ")";
    if (fileThere)
        question += std::string(there.empty() ? "" : " and ") + "the file " + printable(file);
    question += "?";
    if (messageBoxHook(nullptr, question.c_str(), "partlib kicad-dbl", MB_YESNO) != IDYES)
        fail("Nothing replaced: " + question.substr(0, question.size() - 1) + " was not agreed to (--yes agrees)");
}

void runCheck(const KicadDblArguments &args) {
    if (!args.database.empty() || !args.libraries.empty() || args.output)
        usageError("kicad-dbl --check FILE takes no DB, LIBRARY or -o: the file names its database");
    SignalGuard signals;
    const DblFile file = readDblFile(*args.check);
    const std::string folder = args.symbols.value_or(INSTALLED_SYMBOLS);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        fail("No folder of KiCad symbol libraries " + printable(folder) +
             (args.symbols ? "" : " (KiCad's libraries are not installed: name a folder with --symbols)"));
    const DblCheckResult result = checkDblFile(file, folder, std::cout);
    std::cout << printable(*args.check) << ": " << file.libraries.size() << " libraries, " << result.parts << " parts, "
              << result.symbolsFound << " symbols found in " << printable(folder) << ", " << result.problems.size()
              << (result.problems.size() == 1 ? " problem" : " problems") << std::endl;
    if (!result.problems.empty())
        throw CLI::RuntimeError(1);
}

void runKicadDbl(const KicadDblArguments &args) {
    if (args.check)
        return runCheck(args);
    if (args.symbols)
        usageError("--symbols goes with --check");
    if (args.database.empty() || !args.output)
        usageError("kicad-dbl needs DB and -o FILE (or --check FILE)");
    refuseReadOnlyDatabase(args.database);
    SignalGuard signals;
    pathHandle_t path = openExistingDatabase(args.database);
    DBIMPL::CTraxDBInspector inspector(path);
    OutputFile out(outputTarget(args.output, "-o"), {databaseFileOf(args.database)});

    std::vector<KicadView> views;
    {
        ReadTransaction transaction(path);
        for (const std::shared_ptr<LibraryAccess> &library : chosenLibraries(path, args.libraries)) {
            throwIfCancelled();
            views.push_back(kicadView(readStoredLibrary(*library), library->getID()));
        }
    }
    if (views.empty())
        fail(databaseName(args.database, true) + " holds no library to make a KiCad database library of");
    if (std::all_of(views.begin(), views.end(), [](const KicadView &view) { return view.withSymbol == 0; }))
        fail(std::string("No definition of ") +
             (views.size() == 1 ? "library " + printable(views[0].library) : "these libraries") +
             " names its KiCad symbol (the attribute \"" + KICAD_SYMBOL_ATTRIBUTE +
             "\" as Library:Name, which import-kicad records): KiCad could place none of its parts");
    confirmReplacing(path, views, *args.output);
    const auto [name, source] = sourceOf(args.database, args.withPassword);
    out.fill([&](std::ostream &stream) { stream << dblDocument(name, views, source).dump(2) << "\n"; });
    throwIfCancelled();

    // The views in one transaction where the engine keeps its DDL in one
    // (SQLite, PostgreSQL); the file replaces the target only after them.
    std::vector<std::string> statements;
    for (const KicadView &view : views) {
        statements.push_back(view.dropStatement());
        statements.push_back(view.createStatement());
    }
    inspector.executeInOneWrite(statements, throwIfCancelled);
    forgetCaughtSignal();
    out.commit();

    for (const KicadView &view : views) {
        if (view.withSymbol == 0)
            std::cerr << "Warning: no definition of library " << printable(view.library)
                      << " names its KiCad symbol (\"" << KICAD_SYMBOL_ATTRIBUTE
                      << "\"): KiCad can place none of its parts\n";
        std::cerr << "View " << view.view << ": library " << printable(view.library) << ", " << view.columns.size()
                  << " columns\n";
        for (const std::string &left : view.leftOut)
            std::cerr << "  no column for attribute " << printable(left) << "\n";
    }
}

} // namespace

void addKicadDblCommand(CLI::App &app) {
    auto args = std::make_shared<KicadDblArguments>();
    CLI::App *command = app.add_subcommand(
        "kicad-dbl", "Make a KiCad database library of libraries: one view per library and the .kicad_dbl file");
    command->footer(
        "Creates or replaces in DB one view per library, named partlib_kicad_ and the library's name (letters,\n"
        "digits and _ only), with a row per part: Part (the part's name, the key), Symbol (the definition's\n"
        "attribute \"KiCad symbol\", Library:Name, as import-kicad records it), Footprint, Value, Description,\n"
        "Datasheet, Keywords and one column per attribute name of the library's definitions (not the pin\n"
        "details import-kicad keeps in attributes). Every column is text of a fixed width. FILE names the views\n"
        "and how KiCad connects: a SQLite file through the SQLite3 ODBC driver (Debian's libsqliteodbc), a\n"
        "server through its ODBC driver or DSN; the password only with --with-password. Run it again after\n"
        "the libraries changed: the views follow, and new attribute names get their columns. Views and a FILE\n"
        "that are there already are replaced only when agreed to (--yes agrees).\n"
        "kicad-dbl --check FILE [--symbols DIR] does with FILE what KiCad does and reports what would fail.");
    addDatabaseArgument(*command, args->database)->required(false);
    command->add_option("LIBRARY", args->libraries, "Names of the libraries (default: every library)");
    addOutputOption(*command, args->output, "the views are made");
    command
        ->add_option("--check", args->check,
                     "Check FILE as KiCad reads it, through unixODBC with its own connection: every table listed, "
                     "each row fetched by its key; reports empty or repeated keys, malformed references, missing "
                     "symbols, columns not typed as text of a fixed width, and a stale file. Exit status 1 when "
                     "anything is reported")
        ->type_name("FILE");
    command
        ->add_option("--symbols", args->symbols,
                     std::string("With --check: the folder of the <Library>.kicad_sym files (default ") +
                         INSTALLED_SYMBOLS + ")")
        ->type_name("DIR");
    command->add_flag("--with-password", args->withPassword,
                      "Write the initialisation string's password into FILE (KiCad asks for none otherwise)");
    command->callback([args] { runKicadDbl(*args); });
}

} // namespace partlib
