// Initialisation strings from the fuzzer's bytes. A string the parser takes
// reads back the same from its rebuilt form, with and without the
// password; the host's quoting lookup gives the same characters for the
// string and for its rebuilt form, so that both readers of a string agree
// on the database kind it names.

#include "ctraxdbpartlib/connection/DBProvider.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "fuzz/FuzzSupport.h"

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace fuzzsupport;

namespace {

bool isPassword(const std::string &key) {
    InitString probe;
    probe.pairs.emplace_back(key, "x");
    return probe.toString(false).empty();
}

std::string quoting(const std::string &text) {
    char open = 0, close = 0;
    check(getDatabaseEncloseChars(text.c_str(), &open, &close, 1) == 1, "no quoting characters", text);
    return std::string{open, close};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    const std::string text(reinterpret_cast<const char *>(bytes), size);
    InitString init;
    if (FAILED(InitString::parse(text, init)))
        return 0;
    const std::string rebuilt = init.toString(true);
    InitString again;
    check(SUCCEEDED(InitString::parse(rebuilt, again)), "the rebuilt string is refused", rebuilt);
    check(again.pairs == init.pairs, "the rebuilt string reads differently", text + "\n" + rebuilt);

    InitString withoutPassword;
    check(SUCCEEDED(InitString::parse(init.toString(false), withoutPassword)), "the string without password",
          init.toString(false));
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto &pair : init.pairs)
        if (!isPassword(pair.first))
            expected.push_back(pair);
    check(withoutPassword.pairs == expected, "the string without password lost or kept a pair", text);

    if (text.find('\0') == std::string::npos)
        check(quoting(text) == quoting(rebuilt), "the host reads another database kind than the plug-in",
              text + "\n" + rebuilt);
    return 0;
}
