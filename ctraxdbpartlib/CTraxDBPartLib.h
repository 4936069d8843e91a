#pragma once

#include "interface/CTraxDBPartLib.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Set by doPromptValidationMsg: whether opening a path may ask the user to
// create or update the schema. Starts false.
extern bool promptValidationMsg;

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
