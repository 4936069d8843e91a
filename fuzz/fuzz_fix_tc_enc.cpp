// SQL texts from the fuzzer's bytes through fixTcEnc: a source's own (SQLite
// quoting) and the host service with any quoting characters. Only a
// bracket that opens or closes an identifier outside a literal changes, and
// only into the quoting character; the length stays.

#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "fuzz/FuzzSupport.h"

#include <climits>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

namespace {

void checkFixed(const std::string &sql, const std::string &fixed, char open, char close) {
    check(fixed.size() == sql.size(), "fixTcEnc changed the length", sql + "\n" + fixed);
    bool inLiteral = false;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] == '\'')
            inLiteral = !inLiteral;
        if (fixed[i] == sql[i])
            continue;
        check(!inLiteral, "fixTcEnc changed a literal", sql + "\n" + fixed);
        check((sql[i] == '[' && fixed[i] == open) || (sql[i] == ']' && fixed[i] == close),
              "fixTcEnc changed more than a bracket", sql + "\n" + fixed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    static CTraxDBSource source("Provider=SQLite;Data Source=:memory:");
    FuzzedDataProvider in(bytes, size);
    // A quoting character is never NUL: the host's text would end there.
    const char open = in.ConsumeIntegralInRange<char>(1, CHAR_MAX);
    const char close = in.ConsumeIntegralInRange<char>(1, CHAR_MAX);
    std::string sql = in.ConsumeRemainingBytesAsString();
    sql = sql.substr(0, sql.find('\0'));

    checkFixed(sql, source.fixTcEnc(sql), '"', '"');
    char *fixed = fixDatabaseCommandEncloseTC(sql.c_str(), open, close);
    check(fixed != nullptr, "no text from fixDatabaseCommandEncloseTC", sql);
    checkFixed(sql, fixed, open, close);
    freeMem(fixed);
    return 0;
}
