#include "entry/studychoice.h"

#include "data/errors.h"
#include "data/studyfiles.h"
#include "entry/inifile.h"

namespace dravin {

std::optional<std::string> studyChoiceProblem(const std::filesystem::path& dir,
                                              const std::string& name) {
    if (const auto problem = iniValueProblem(dir.string())) {
        return "Ο κατάλογος «" + dir.string() + "» έχει " + *problem +
               ", που το αρχείο ρυθμίσεων δεν μπορεί να κρατήσει· διαλέξτε άλλον κατάλογο.";
    }
    if (const auto problem = iniValueProblem(name)) {
        return "Το όνομα μελέτης «" + name + "» έχει " + *problem +
               ", που το αρχείο ρυθμίσεων δεν μπορεί να κρατήσει· διαλέξτε άλλο όνομα.";
    }
    return studyNameProblem(dir, name);
}

void requireStudyChoice(const std::filesystem::path& dir, const std::string& name) {
    if (const auto problem = studyChoiceProblem(dir, name)) {
        throw IoError(*problem);
    }
}

}  // namespace dravin
