// The operator's command line of the application server:
//   mvar52-appserver [--config FILE] [--db FILE] [--listen ADDRESS] [--port N] COMMAND
//     serve        listen in the foreground until interrupted (SIGINT, SIGTERM)
//     jobs         list the jobs and requests
//     job NUMBER   show one entry with its whole job variant
//     schemes      list the condition schemes
//     run-due      take the jobs due now, as the queue's worker does
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ox::appserver {

// Runs one command (args without the program name); answers the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ox::appserver
