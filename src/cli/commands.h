#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace dravin::cli {

// Where the tool finds its data: the program directory holds DB2 (master tables).
struct Context {
    std::filesystem::path programDir;
    std::ostream& out;
    std::ostream& err;  // notes on a command that still succeeds
};

// Runs one command with its arguments (the words after the command name).
// Throws UsageError for a wrong command line and dravin::Error for a failure.
void runCommand(const std::string& command, const std::vector<std::string>& args, Context& ctx);

// The usage text listing every command.
std::string usage();

}  // namespace dravin::cli
