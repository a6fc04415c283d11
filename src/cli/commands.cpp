#include "commands.h"

#include <fstream>
#include <functional>
#include <map>
#include <ostream>

#include "arguments.h"
#include "data/errors.h"
#include "data/exchangefile.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"

namespace dravin::cli {
namespace {

const std::vector<std::string> kStudyOptions = {"studies-dir", "study", "data-dir"};

struct StudyArgs {
    std::filesystem::path studiesDir;
    std::string study;
    std::filesystem::path dataDir;
};

StudyArgs studyArgs(const Arguments& a, const Context& ctx) {
    StudyArgs s;
    s.studiesDir = a.required("studies-dir");
    s.study = a.required("study");
    s.dataDir = a.option("data-dir").value_or((ctx.programDir / "DB2").string());
    return s;
}

void requireDirectory(const std::filesystem::path& dir) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        throw IoError("The studies directory " + dir.string() + " does not exist.");
    }
}

void requireStudy(const StudyArgs& s) {
    requireDirectory(s.studiesDir);
    if (!studyExists(s.studiesDir, s.study)) {
        throw IoError("There is no study " + s.study + " in " + s.studiesDir.string() + ".");
    }
}

// Opens the master tables when their directory exists, as a run of the program does.
void openMasters(TDravinDataT& data, const std::filesystem::path& dataDir) {
    std::error_code ec;
    if (std::filesystem::is_directory(dataDir, ec)) {
        data.OpenParameterTables(dataDir);
    }
}

// Makes the study current: its marker, the master tables, then the study itself,
// creating whatever is missing.
void openStudy(TDravinDataT& data, const StudyArgs& s) {
    requireDirectory(s.studiesDir);
    writeStudyMarker(s.studiesDir, s.study);
    openMasters(data, s.dataDir);
    data.OpenStudy(s.studiesDir, s.study);
}

void cmdNew(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    TDravinDataT data;
    openStudy(data, s);
    ctx.out << "Study " << s.study << " is ready in " << s.studiesDir.string() << ".\n";
}

void cmdExport(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    const std::string format = a.required("format");
    if (format != "json" && format != "csv") {
        throw UsageError("--format is json or csv");
    }
    requireStudy(s);
    TDravinDataT data;
    openStudy(data, s);
    const auto write = [&](std::ostream& out) {
        if (format == "json") {
            exportStudyJson(data, out);
        } else {
            exportSpacesCsv(data, out);
        }
    };
    if (const auto file = a.option("o")) {
        std::ofstream out(*file, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw IoError("Cannot create the file " + *file + ".");
        }
        write(out);
        out.close();
        if (!out) {
            throw IoError("Cannot write the file " + *file + ".");
        }
    } else {
        write(ctx.out);
    }
}

void cmdLoad(const Arguments& a, Context& ctx) {
    a.expectPositional(1, "the exchange file to load");
    const StudyArgs s = studyArgs(a, ctx);
    const std::string file = a.positional()[0];
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw IoError("Cannot read the file " + file + ".");
    }
    TDravinDataT data;
    openStudy(data, s);
    loadStudyJson(data, in);
    ctx.out << "Loaded " << file << " into " << s.study << ".\n";
}

void cmdSaveAs(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs source = studyArgs(a, ctx);
    StudyArgs target = source;
    target.studiesDir = a.required("to-dir");
    target.study = a.required("to-study");
    requireStudy(source);
    TDravinDataT data;
    openStudy(data, target);
    data.SaveStudyAs(source.studiesDir, source.study, target.studiesDir, target.study);
    ctx.out << "Saved " << source.study << " as " << target.study << " in "
            << target.studiesDir.string() << ".\n";
}

void cmdDelete(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    requireStudy(s);
    std::error_code ec;
    std::filesystem::remove(studyMarkerPath(s.studiesDir, s.study), ec);
    if (ec) {
        throw IoError("Cannot delete the study file " +
                      studyMarkerPath(s.studiesDir, s.study).string() + ": " + ec.message() + ".");
    }
    TDravinDataT data;
    data.DeleteStudy(s.studiesDir, s.study);
    ctx.out << "Deleted " << s.study << " from " << s.studiesDir.string() << ".\n";
}

void cmdInitParams(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    requireStudy(s);
    TDravinDataT data;
    openStudy(data, s);
    if (!data.FloorTo.isOpen()) {
        throw IoError("The data directory " + s.dataDir.string() + " does not exist.");
    }
    data.InitFloorParameters();
    data.InitXorosParameters();
    ctx.out << "Parameters of " << s.study << " initialised from " << s.dataDir.string() << ".\n";
}

struct Command {
    std::vector<std::string> options;
    std::function<void(const Arguments&, Context&)> run;
    const char* synopsis;
};

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"new", {kStudyOptions, cmdNew, "new --studies-dir S --study N [--data-dir D]"}},
        {"export",
         {{"studies-dir", "study", "data-dir", "format", "o"},
          cmdExport,
          "export --studies-dir S --study N --format json|csv [-o FILE]"}},
        {"load", {kStudyOptions, cmdLoad, "load --studies-dir S --study N FILE [--data-dir D]"}},
        {"save-as",
         {{"studies-dir", "study", "data-dir", "to-dir", "to-study"},
          cmdSaveAs,
          "save-as --studies-dir S --study N --to-dir S2 --to-study N2"}},
        {"delete", {kStudyOptions, cmdDelete, "delete --studies-dir S --study N"}},
        {"init-params",
         {kStudyOptions, cmdInitParams, "init-params --studies-dir S --study N [--data-dir D]"}},
    };
    return table;
}

}  // namespace

std::string usage() {
    std::string text = "usage: dravin-cli COMMAND [OPTIONS]\ncommands:\n";
    for (const auto& [name, c] : commands()) {
        text += "  dravin-cli " + std::string(c.synopsis) + "\n";
    }
    return text;
}

void runCommand(const std::string& command, const std::vector<std::string>& args, Context& ctx) {
    const auto it = commands().find(command);
    if (it == commands().end()) {
        throw UsageError("unknown command \"" + command + "\"");
    }
    // "-o" is the one short option.
    std::vector<std::string> words;
    for (const auto& w : args) {
        words.push_back(w == "-o" ? "--o" : w);
    }
    it->second.run(Arguments(words, it->second.options), ctx);
}

}  // namespace dravin::cli
