#pragma once

// A server's password kept off the command line, where every user of the
// machine can read it (ps, /proc/PID/cmdline) for as long as a command runs.
//
// An initialisation string whose password is "?" (Password=? or PWD=?) gets
// the value of TXDB_PASSWORD when that variable is set, or else asks for it
// on the terminal without echo. A unixODBC data source (Provider=ODBC;
// DSN=name) keeps the password in odbc.ini and needs neither.

#include <CLI/CLI.hpp>

#include <string>

namespace partlib {

// The DB argument with an asked-for password filled in; any other argument
// as it is. Fails when the password cannot be had (no terminal to ask on,
// end of input) and on Ctrl-C while asking.
std::string withPassword(const std::string &database);

// Makes the option's DB argument go through withPassword when it is given.
CLI::Option *askingForPassword(CLI::Option *option);

} // namespace partlib
