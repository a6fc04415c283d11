// Typed number texts: the input is the text as a line edit hands it over (UTF-8).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/feedback.h"
#include "fuzzsupport.h"
#include "ui/dialogs/numbertext.h"

namespace {

using namespace dravin;

// Takes the error message; a number text asks nothing and tells nothing else.
class ScriptedPrompter final : public Prompter {
public:
    void inform(const std::string&) override { fuzz::finding("ParseNumberText informed."); }
    void error(const std::string& text) override {
        ++errors;
        message = text;
    }
    Answer confirm(const std::string&, bool) override {
        fuzz::finding("ParseNumberText asked a question.");
    }

    int errors = 0;
    std::string message;
};

constexpr double kFallBack = 8.25;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ScriptedPrompter prompter;
    double value = 0.0;
    if (!fuzz::returnsOrFailsCleanly("ParseNumberText",
                                     [&] { value = ParseNumberText(text, kFallBack, prompter); })) {
        fuzz::finding("ParseNumberText threw.");
    }
    if (prompter.errors > 1) {
        fuzz::finding("ParseNumberText reported more than once.");
    }
    if (prompter.errors == 1 && (value != kFallBack || !fuzz::isValidUtf8(prompter.message))) {
        fuzz::finding("A refused number text did not give the fall-back with a readable message.");
    }
    if (prompter.errors == 0 && !std::isfinite(value)) {
        fuzz::finding("An accepted number text gave a number that is not finite.");
    }

    // Cleaning is done once for all: a cleaned text cleans to itself and reads the same.
    std::string cleaned = text;
    CleanNumberText(cleaned);
    std::string again = cleaned;
    CleanNumberText(again);
    if (again != cleaned) {
        fuzz::finding("Cleaning a cleaned number text changed it.");
    }
    ScriptedPrompter second;
    const double fromCleaned = ParseNumberText(cleaned, kFallBack, second);
    if (second.errors != prompter.errors || (prompter.errors == 0 && fromCleaned != value)) {
        fuzz::finding("A number text and its cleaned form read differently.");
    }
    return 0;
}
