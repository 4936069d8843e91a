#include "tests/tools_export/ExportTestSupport.h"

#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "tests/support/TestDatabase.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <stdexcept>

namespace exporttest {

const char *const SAMPLE_LIBRARY = "Demo";
const char *const SECOND_LIBRARY = "Second";
const char *const EDGE_LIBRARY = "Ed\"ge \\ Ω";
const char *const EDGE_TOP_FOLDER = "Top \"A\"";
const char *const EDGE_SUB_FOLDER = "Sub\\Dir";
const char *const EDGE_EMPTY_FOLDER = "Empty ☃";
const char *const EDGE_DEFINITION = "EDGE_DEF_ü";
const char *const EDGE_LABEL = "tab\there\x01";
const char *const EDGE_ATTRIBUTE_VALUE = "say \"hi\" \\ 中";
const char *const EDGE_PART = "EDGE-1 \"q\" \\ Ω";

namespace {

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

void writeEdgeLibrary(CTraxDBPath &path) {
    const std::string statements[] = {
        "INSERT INTO [Library] ([ID],[Name],[Enabled],[Comment]) VALUES (50000," + quoted(EDGE_LIBRARY) + ",0,'');",
        "INSERT INTO [Hierarchy] ([ID],[Library_ID],[Name],[Parent_ID]) VALUES (50001,50000," +
            quoted(EDGE_TOP_FOLDER) + ",NULL),(50002,50000," + quoted(EDGE_SUB_FOLDER) + ",50001),(50003,50000," +
            quoted(EDGE_EMPTY_FOLDER) + ",NULL);",
        "INSERT INTO [Part_Definition] ([ID],[Library_ID],[Name],[PCB_component_name],[PCB_alternate_name],"
        "[Part_def_value],[Component_name_stem],[PSpice_data],[Max_connector_pins],[Gate_swapping],[Pin_num_name],"
        "[Is_FPGA]) VALUES (50010,50000," +
            quoted(EDGE_DEFINITION) + ",'P\"CB','',NULL,'',NULL,5,1,0,1);",
        "INSERT INTO [Pin_Equiv] ([ID],[Part_def_ID]) VALUES (50030,50010);",
        "INSERT INTO [Pin_Data] ([ID],[Part_def_ID],[Pin_identifier],[Name],[Label],[Pin_position],[Pin_type],"
        "[Loading],[Signal],[Equiv_group]) VALUES (50020,50010,'1','A'," +
            quoted(EDGE_LABEL) +
            ",1,1,1,'S1',50030),(50021,50010,'2',NULL,'L2',2,1,NULL,'S2',50030),"
            "(50022,50010,'3','','L3',3,2,NULL,'',NULL);",
        "INSERT INTO [Gate] ([ID],[Part_def_ID],[Name],[Alt_name]) VALUES (50040,50010,'G',NULL),"
        "(50041,50010,'NC','');",
        "INSERT INTO [Gate_has_Pin_Data] ([ID],[Gate_ID],[Pin_data_ID]) VALUES (50050,50040,50022),"
        "(50051,50040,50020),(50052,50040,50021);",
        "INSERT INTO [Gate_Equiv] ([ID],[Part_def_ID],[Name]) VALUES (50060,50010,'SW');",
        "INSERT INTO [Gate_Equiv_Gate] ([ID],[Gate_equiv_ID],[Equiv_type]) VALUES (50061,50060,2);",
        "INSERT INTO [Gate_Equiv_has_Pin_Data] ([ID],[Gate_equiv_gate_ID],[Pin_data_ID]) VALUES "
        "(50062,50061,50021),(50063,50061,50020);",
        "INSERT INTO [Attributes] ([Part_def_ID],[Name],[Attribute_value],[Usage_type],[Read_Only]) VALUES "
        "(50010,'Note'," +
            quoted(EDGE_ATTRIBUTE_VALUE) + ",3,1);",
        "INSERT INTO [Parts] ([ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name],[Part_number],[Description],"
        "[PSpice_data],[Part_version],[Part_Acceptance],[Part_Type]) VALUES (50070,50000,50010,50002," +
            quoted(EDGE_PART) + ",'',NULL,'',NULL,NULL,NULL);",
    };
    for (const std::string &sql : statements)
        path.execute(sql);
}

SampleDatabase sampleIn(const std::string &init, int parts) {
    SampleDatabase db;
    db.init = init;
    db.path = std::make_shared<CTraxDBPath>(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
    CTraxDBSchema::createSchema(*db.path);
    SampleOptions options;
    options.libraryName = SAMPLE_LIBRARY;
    options.parts = parts;
    writeSampleLibrary(*db.path, options);
    return db;
}

std::map<std::string, SampleDatabase> &databases() {
    static std::map<std::string, SampleDatabase> all;
    return all;
}

// The paths are closed before the test databases go at exit.
struct CloseDatabases : ::testing::Environment {
    void TearDown() override { databases().clear(); }
};
const auto *closeDatabases = ::testing::AddGlobalTestEnvironment(new CloseDatabases);

} // namespace

SampleDatabase &sampleDatabase(const std::string &engine) {
    auto found = databases().find(engine);
    if (found != databases().end())
        return found->second;
    SampleDatabase db = sampleIn(txdbtest::freshDatabase(engine), 300);
    SampleOptions second;
    second.libraryName = SECOND_LIBRARY;
    second.parts = 200;
    second.firstId = 100000;
    second.hostileNames = false;
    writeSampleLibrary(*db.path, second);
    writeEdgeLibrary(*db.path);
    return databases()[engine] = db;
}

SampleDatabase sampleOnly(const std::string &engine, int parts) {
    return sampleIn(txdbtest::freshDatabase(engine), parts);
}

std::string exportToString(const pathHandle_t &path, const std::vector<std::string> &libraries) {
    ExportOptions options;
    options.libraries = libraries;
    std::ostringstream out;
    try {
        exportLibraries(path, out, options);
    } catch (Exception *e) { // shown by the test framework as a failure with its text
        std::unique_ptr<Exception> failure(e);
        throw std::runtime_error(failure->getMessage());
    }
    return out.str();
}

} // namespace exporttest
