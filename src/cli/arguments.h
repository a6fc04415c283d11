#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dravin::cli {

// The command line of one command: "--name value" options and positional words.
class Arguments {
public:
    // Options that take a value are listed; anything else starting with "--" is refused.
    Arguments(const std::vector<std::string>& words, const std::vector<std::string>& valueOptions);

    std::optional<std::string> option(const std::string& name) const;
    std::string required(const std::string& name) const;
    const std::vector<std::string>& positional() const noexcept { return mPositional; }
    void expectPositional(size_t count, const std::string& usage) const;

private:
    std::map<std::string, std::string> mOptions;
    std::vector<std::string> mPositional;
};

// A wrong command line; the tool prints it with the usage and exits 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace dravin::cli
