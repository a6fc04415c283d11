// dravin-cli: the study store from the command line, for batch work and tests.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "data/errors.h"
#include "entry/inifile.h"

namespace {

std::filesystem::path programDirectory(const char* argv0) {
    std::filesystem::path exe = dravin::executablePath();
    if (exe.empty()) {
        std::error_code ec;
        exe = std::filesystem::absolute(argv0, ec);
    }
    return exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << dravin::cli::usage();
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << dravin::cli::usage();
        return 0;
    }
    dravin::cli::Context ctx{programDirectory(argv[0]), std::cout, std::cerr};
    try {
        dravin::cli::runCommand(command, std::vector<std::string>(argv + 2, argv + argc), ctx);
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "dravin-cli: the output could not be written.\n";
            return 1;
        }
    } catch (const dravin::cli::UsageError& e) {
        // One line, as for every failure; the usage is one --help away.
        std::cerr << "dravin-cli: " << e.what() << " (dravin-cli --help lists the commands)\n";
        return 2;
    } catch (const dravin::AbortError&) {
        std::cerr << "dravin-cli: the operation was cancelled.\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "dravin-cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
