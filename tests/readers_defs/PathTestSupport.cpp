// The raw statements, fresh databases and trace capture of the path tests.
#include "tests/connection_path/PathTestSupport.cpp"
