// The emulated machine's record of started programs: <root>/processes.log, one line per start,
// fields joined by tabs (control bytes and "%" written as %XX, see LineFields.h):
//
//   WinExec      <command line> <show command> <current folder> <outcome>
//   ShellExecute <verb> <file> <parameters> <directory> <show command> <outcome>
//
// The outcome is "started" (a host program of this machine was started), "recorded" (the
// program is a file of the machine but nothing the host can run, or an address for the shell),
// "not-found" (no such program) or "failed" (the host could not start it).
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// Appends one record to the log in a single write.
void appendProcessLog(const std::vector<std::string>& fields);

// Every record of the log, oldest first; empty when there is none.
std::vector<std::vector<std::string>> readProcessLog();

} // namespace platform::posix
