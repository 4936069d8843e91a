#include "ctraxdbpartlib/CLogHandler.h"
#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "interface/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

class CapturingHandler : public CLogHandler {
public:
    CapturingHandler() : CLogHandler(LOG_ALL) {}
    bool publish(LogRecord &record) override {
        records.push_back(record);
        return true;
    }
    std::vector<LogRecord> records;
};

// Switches tracing on into a capturing handler for the life of the test.
class ExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        wasEnabled = loggingEnabled;
        slot = theLogger.addHandler(&handler);
        loggingEnabled = true;
    }
    void TearDown() override {
        loggingEnabled = wasEnabled;
        theLogger.removeHandler(slot);
        doPromptValidationMsg(false);
    }

    // The message of the Exception the call throws; fails the test if none.
    static std::string thrownMessage(const std::function<void()> &call) {
        try {
            call();
        } catch (Exception *error) {
            std::string message = error->getMessage();
            delete error;
            return message;
        }
        ADD_FAILURE() << "no Exception thrown";
        return std::string();
    }

    CapturingHandler handler;
    int slot = -1;
    bool wasEnabled = false;
};

TEST_F(ExportsTest, CapabilitiesAreConstant) {
    EXPECT_EQ(getCapabilities(), 28867);
    doPromptValidationMsg(true);
    createPathData(nullptr, nullptr);
    thrownMessage([] { openPath(static_cast<TCHAR *>(nullptr)); });
    EXPECT_EQ(getCapabilities(), 0x70C3);
}

TEST_F(ExportsTest, EntryPointsTraceTheirSignatureAtFine) {
    getCapabilities();
    doPromptValidationMsg(true);
    createPathData(nullptr, nullptr);
    ASSERT_EQ(handler.records.size(), 3u);
    EXPECT_EQ(handler.records[0].message, "getCapabilities");
    EXPECT_EQ(handler.records[1].message, "doPromptValidationMsg(bool)");
    EXPECT_EQ(handler.records[2].message, "createPathData(sourceHandle_t,TCHAR *)");
    for (const LogRecord &record : handler.records) {
        EXPECT_EQ(record.level, LOG_FINE);
        EXPECT_EQ(record.sourceFile, "CTraxDBPartLib");
    }
}

TEST_F(ExportsTest, CreatePathDataAlwaysReturnsEmpty) {
    TCHAR text[] = "Provider=SQLite;Data Source=parts.db";
    EXPECT_NO_THROW(EXPECT_FALSE(createPathData(nullptr, nullptr)));
    EXPECT_NO_THROW(EXPECT_FALSE(createPathData(nullptr, text)));
    EXPECT_NO_THROW(EXPECT_FALSE(createPathData(std::make_shared<Source>(), text)));
}

TEST_F(ExportsTest, PromptFlagFollowsTheLastCall) {
    EXPECT_FALSE(promptValidationMsg);
    doPromptValidationMsg(true);
    EXPECT_TRUE(promptValidationMsg);
    doPromptValidationMsg(false);
    EXPECT_FALSE(promptValidationMsg);
}

// Null handles are refused with a message, whichever object the entry point builds.
TEST_F(ExportsTest, NullHandlesAreRefusedWithAMessage) {
    EXPECT_NE(thrownMessage([] { getPathDataReader(nullptr); }), "");
    EXPECT_NE(thrownMessage([] { openPath(static_cast<TCHAR *>(nullptr)); }), "");
    EXPECT_NE(thrownMessage([] { getLibraryReader(nullptr, nullptr); }), "");
    EXPECT_NE(thrownMessage([] { getLibraryWriter(nullptr); }), "");
    EXPECT_NE(thrownMessage([] { getLibHierarchyOnlyWriter(nullptr); }), "");
}

} // namespace
