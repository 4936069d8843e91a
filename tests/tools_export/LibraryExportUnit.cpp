// The export unit of partlib, built into this test program.
#include "tools/partlib/LibraryExport.cpp"
