#pragma once

// The style sheet and the script of the catalogue page, built into partlib
// from tools/partlib/catalogue/ (catalogue.css, catalogue.js).

namespace partlib {

extern const char *const CATALOGUE_STYLE;
extern const char *const CATALOGUE_SCRIPT;

} // namespace partlib
