#pragma once

// The shared mechanism of the database readers: a path handle, one main
// command over an accessor record, the started flag and the count fixed at
// construction. getNext moves first/next, checks the result, ends with an
// empty handle (again and again once exhausted) and otherwise builds one
// record from the accessor record. Concrete readers open their statements
// in their constructors and say how a record is made.

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/readers/DBReader.h"

#include <memory>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Which trace records getNext writes besides "<class>::getNext".
enum class MoveTrace {
    None,   // no move records
    Moves,  // "Getting first record" / "Getting next record" / "End of record set"
    EndOnly // only "End of record set"
};

template <class TInterface, class TAccessor> class DBRowReader : public DBReader<TInterface> {
public:
    using Command = CCommand<CAccessor<TAccessor>>;

    ~DBRowReader() override { TXDB_TRACE(LOG_FINEST, className + "::~" + className + "()"); }

    std::shared_ptr<TInterface> getNext() override {
        TXDB_TRACE(LOG_FINE, className + "::getNext");
        while (!exhausted) {
            // A paged reader whose filter selected nothing has no rowset open.
            HRESULT result = command.isOpen() ? move() : DB_S_ENDOFROWSET;
            checkResult(result);
            if (result != DB_S_ENDOFROWSET)
                return makeRecord();
            // A paged reader goes on with its next page; the others end here.
            if (!nextPage()) {
                if (moveTrace != MoveTrace::None)
                    TXDB_TRACE(LOG_FINER, "End of record set");
                exhausted = true;
            }
        }
        return nullptr;
    }

    int getCount() override { return count; }

protected:
    DBRowReader(pathHandle_t path, std::string className, MoveTrace moveTrace = MoveTrace::Moves)
        : path(std::move(path)), className(std::move(className)), moveTrace(moveTrace) {}

    // The record of the current row, built from `command` (the accessor record).
    virtual std::shared_ptr<TInterface> makeRecord() = 0;

    // Opens the next page of a paged reader; true when one was opened.
    virtual bool nextPage() { return false; }

    CTraxDBPath &database() { return dbPath(path); }
    void open(const std::string &sql) { database().open(command, sql); }

    pathHandle_t path;
    Command command;
    bool started = false;
    int count = 0;

private:
    HRESULT move() {
        if (!started) {
            if (moveTrace == MoveTrace::Moves)
                TXDB_TRACE(LOG_FINER, "Getting first record");
            started = true;
            return command.MoveFirst();
        }
        if (moveTrace == MoveTrace::Moves)
            TXDB_TRACE(LOG_FINEST, "Getting next record");
        return command.MoveNext();
    }

    std::string className;
    MoveTrace moveTrace;
    bool exhausted = false;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
