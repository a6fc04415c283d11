#include "arguments.h"

#include <algorithm>

namespace dravin::cli {

Arguments::Arguments(const std::vector<std::string>& words,
                     const std::vector<std::string>& valueOptions) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() > 2 && w.compare(0, 2, "--") == 0) {
            const std::string name = w.substr(2);
            if (std::find(valueOptions.begin(), valueOptions.end(), name) == valueOptions.end()) {
                throw UsageError("unknown option " + w);
            }
            if (i + 1 >= words.size()) {
                throw UsageError("option " + w + " needs a value");
            }
            if (!mOptions.emplace(name, words[++i]).second) {
                throw UsageError("option " + w + " is given twice");
            }
        } else {
            mPositional.push_back(w);
        }
    }
}

std::optional<std::string> Arguments::option(const std::string& name) const {
    const auto it = mOptions.find(name);
    if (it == mOptions.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string Arguments::required(const std::string& name) const {
    auto v = option(name);
    if (!v || v->empty()) {
        throw UsageError("option --" + name + " is required");
    }
    return *v;
}

void Arguments::expectPositional(size_t count, const std::string& usage) const {
    if (mPositional.size() != count) {
        throw UsageError("expected " + usage);
    }
}

}  // namespace dravin::cli
