// The catalogue page: its frame, the folder trees as HTML, the libraries'
// data and the script that shows them.

#include "tools/partlib/Catalogue.h"

#include "interface/PartLibInterface.h"
#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/CatalogueAssets.h"
#include "tools/partlib/CatalogueData.h"
#include "tools/partlib/LibraryExport.h"
#include "tools/partlib/LibraryFolders.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/ReadTransaction.h"

#include <iomanip>
#include <memory>
#include <random>
#include <sstream>

namespace partlib {

namespace {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

struct ChosenLibrary {
    std::shared_ptr<LibraryAccess> record;
    std::string name;
    std::unique_ptr<LibraryFolders> folders;
};

// The folder tree of one library as nested lists; each folder shows the
// parts in it and below it. Folders are numbered depth first, as in the
// library's data.
class FolderTreeHtml {
public:
    FolderTreeHtml(std::ostream &out, const LibraryFolders &folders, int library)
        : out(out), folders(folders), library(std::to_string(library)) {}

    void write(const std::string &libraryName) {
        std::string items;
        const int total = level(folders.tree(), items);
        out << "<li class=\"library\"><a href=\"#folder=" << library << "\" data-folder=\"" << library << "\">"
            << htmlEscaped(libraryName) << "</a> <span class=\"count\">" << total << "</span>";
        if (!items.empty())
            out << "<ul>" << items << "</ul>";
        out << "</li>\n";
    }

private:
    // Appends the items of one level; returns the parts in and below it.
    int level(const std::vector<Folder> &members, std::string &items) {
        int total = 0;
        for (const Folder &folder : members) {
            const int index = next++;
            std::string below;
            const int count = folders.partsIn(folder.id) + level(folder.folders, below);
            const std::string address = library + "." + std::to_string(index);
            items += "<li><a href=\"#folder=" + address + "\" data-folder=\"" + address + "\">" +
                     htmlEscaped(folder.name) + "</a> <span class=\"count\">" + std::to_string(count) + "</span>";
            if (!below.empty())
                items += "<ul>" + below + "</ul>";
            items += "</li>";
            total += count;
        }
        return total;
    }

    std::ostream &out;
    const LibraryFolders &folders;
    const std::string library;
    int next = 0;
};

// A fresh nonce for the page's own script: no other script runs, even
// if a text got past the escaping.
std::string scriptNonce() {
    std::random_device random;
    std::ostringstream nonce;
    for (int i = 0; i < 4; ++i)
        nonce << std::hex << std::setw(8) << std::setfill('0') << random();
    return nonce.str();
}

} // namespace

void writeCatalogue(const pathHandle_t &path, std::ostream &out, const CatalogueOptions &options) {
    ReadTransaction transaction(path);
    std::vector<ChosenLibrary> libraries;
    for (std::shared_ptr<LibraryAccess> &record : chosenLibraries(path, options.libraries)) {
        std::string name = hostmodel::text<DBIMPL::bufferWidth("Library", "Name")>(*record, &LibraryAccess::getName);
        auto folders = std::make_unique<LibraryFolders>(*record, name);
        libraries.push_back({std::move(record), std::move(name), std::move(folders)});
    }

    const std::string title = htmlEscaped(options.title);
    const std::string nonce = scriptNonce();
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           // Nothing from outside the file, not even by a hostile text.
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "style-src 'unsafe-inline'; script-src 'nonce-"
        << nonce << "'; img-src data:\">\n<title>" << title << "</title>\n<style>\n"
        << CATALOGUE_STYLE << "</style>\n</head>\n<body>\n<header>\n<h1>" << title
        << "</h1>\n<input id=\"search\" type=\"search\" autocomplete=\"off\" spellcheck=\"false\" "
           "placeholder=\"Search parts by name, number, description or attribute value\" "
           "aria-label=\"Search parts\">\n<span id=\"status\"></span>\n</header>\n<div id=\"page\">\n"
           "<nav id=\"tree\" aria-label=\"Folders\">\n<ul>\n<li class=\"all\"><a href=\"#folder=all\" "
           "data-folder=\"all\">All libraries</a></li>\n";
    for (size_t i = 0; i < libraries.size(); ++i)
        FolderTreeHtml(out, *libraries[i].folders, static_cast<int>(i)).write(libraries[i].name);
    out << "</ul>\n</nav>\n<section id=\"results\" aria-label=\"Parts\"></section>\n"
           "<main id=\"detail\"></main>\n</div>\n"
           "<script type=\"application/json\" id=\"catalogue-data\">{\"title\":"
        << scriptSafeJson(options.title) << ",\"libraries\":[";
    for (size_t i = 0; i < libraries.size(); ++i) {
        out << (i ? ",\n" : "\n");
        CatalogueData(out, *libraries[i].record, *libraries[i].folders, options.progress).write();
    }
    out << "]}</script>\n<script nonce=\"" << nonce << "\">\n" << CATALOGUE_SCRIPT << "</script>\n</body>\n</html>\n";
}

} // namespace partlib
