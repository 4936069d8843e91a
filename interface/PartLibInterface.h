#pragma once

// Every header of the host-facing interface.

#include "interface/Access.h"
#include "interface/AllAttributeAccess.h"
#include "interface/AllGateAccess.h"
#include "interface/AllGateSwapAccess.h"
#include "interface/AllPinDataAccess.h"
#include "interface/AllPinEquivAccess.h"
#include "interface/AllPinEquivDataAccess.h"
#include "interface/AttributeAccess.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/CompletePartAndPartDefAccess.h"
#include "interface/Exception.h"
#include "interface/GateAccess.h"
#include "interface/GateDataAccess.h"
#include "interface/GateSwapAccess.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/GateSwapPinDataAccess.h"
#include "interface/Handles.h"
#include "interface/HierarchyAccess.h"
#include "interface/LibHierarchyOnlyAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/Observer.h"
#include "interface/PartAccess.h"
#include "interface/PartDefAccess.h"
#include "interface/PartDefDataAccess.h"
#include "interface/PartForReportsAccess.h"
#include "interface/Path.h"
#include "interface/PathData.h"
#include "interface/PinDataAccess.h"
#include "interface/PinEquivAccess.h"
#include "interface/PinEquivDataAccess.h"
#include "interface/Reader.h"
#include "interface/Source.h"
#include "interface/Subject.h"
#include "interface/Writer.h"
#include "interface/WriterEvent.h"

#if __has_include("interface/Component.h")
#include "interface/Component.h"
#endif
#if __has_include("interface/LibFilter.h")
#include "interface/LibFilter.h"
#endif
#if __has_include("interface/PartDefFilter.h")
#include "interface/PartDefFilter.h"
#endif
#if __has_include("interface/PartFilter.h")
#include "interface/PartFilter.h"
#endif
#if __has_include("interface/Visitor.h")
#include "interface/Visitor.h"
#endif
