// SQL texts from the fuzzer's bytes through fixTcEnc: a source's own (SQLite
// quoting) and the host service with any quoting characters.

#include "ctraxdbpartlib/connection/CTraxDBSource.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "fuzz/FuzzSupport.h"

#include <climits>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

namespace {

// Only the brackets that open and close an identifier outside a literal
// change, into the quoting characters; a quote inside an identifier ([it's])
// opens no literal.
void checkFixed(const std::string &sql, const std::string &fixed, char open, char close) {
    check(fixed.size() == sql.size(), "fixTcEnc changed the length", sql + "\n" + fixed);
    enum { Plain, Literal, Identifier } state = Plain;
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        char expected = c;
        if (state == Plain && c == '[') {
            expected = open;
            state = Identifier;
        } else if (state == Identifier && c == ']') {
            expected = close;
            state = Plain;
        } else if (state != Identifier && c == '\'') {
            state = state == Plain ? Literal : Plain;
        }
        check(fixed[i] == expected, "fixTcEnc changed more than an identifier's brackets", sql + "\n" + fixed);
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
