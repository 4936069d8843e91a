#include "tests/support/DatabaseState.h"

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "interface/CTraxDBPartLib.h"
#include "tests/support/TestUtil.h"

#include <gtest/gtest.h>

namespace txdbtest {

std::string databaseState(const std::string &engine, const std::string &database) {
    if (engine == "SQLite")
        return readFile(database);
    namespace api = COM_ORVEL_TRAX_PLDAIO_INTERFACE;
    std::string init = database;
    api::doPromptValidationMsg(false);
    api::pathHandle_t path = api::openPath(init.data());
    ProgramRun exported = runPartlib({"export", database});
    EXPECT_EQ(exported.status, 0) << exported.errors;
    std::string state = exported.output;
    for (const char *table :
         {"Library", "Hierarchy", "Part_Definition", "Pin_Data", "Pin_Equiv", "Gate_Equiv", "Gate_Equiv_Gate",
          "Gate_Equiv_has_Pin_Data", "Gate", "Gate_has_Pin_Data", "Attributes", "Parts"}) {
        const std::string sql = engine == "MariaDB" ? std::string("CHECKSUM TABLE [") + table + "];"
                                                    : std::string("SELECT Count(*) FROM [") + table + "];";
        for (const auto &row : api::DBIMPL::CTraxDBInspector(path).queryTexts(sql, engine == "MariaDB" ? 2 : 1))
            state += std::string(table) + " " + row.back().value_or("NULL") + "\n";
    }
    return state;
}

} // namespace txdbtest
