// Starts a program for the tests that run the built programs as a user would.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace relay::testing {

// Starts `arguments` (the program first) with standard input from /dev/null
// and standard output and error into the files `out` and `err`, in
// `directory` when one is given. As a shell starts a job, the program gets a
// process group of its own (so a signal can reach it and its children, as a
// terminal's do) and the default actions for SIGHUP, SIGINT, SIGTERM and
// SIGPIPE, whatever the tests were started with. The process id, or -1 when
// it cannot start.
pid_t SpawnProgram(std::vector<std::string> arguments, const std::string &out, const std::string &err,
                   const std::string &directory = {});

}  // namespace relay::testing
