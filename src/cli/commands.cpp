#include "commands.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>

#include "arguments.h"
#include "compute/computation.h"
#include "compute/entryrules.h"
#include "compute/floorrepetition.h"
#include "data/errors.h"
#include "data/exchangefile.h"
#include "data/paradox/paradoxconversion.h"
#include "data/studyfiles.h"
#include "data/tdravindatat.h"
#include "import/berokimport.h"
#include "reports/engine/reportrenderer.h"
#include "reports/layouts/tdravinreport00.h"

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
    if (!studyExists(s.studiesDir, s.study)) {
        requireUsableStudyName(s.studiesDir, s.study);
    }
    // Tables of the older program are converted only when asked.
    if (ParadoxConversion::forStudy(s.studiesDir, s.study).needed()) {
        throw IoError("The study " + s.study + " in " + s.studiesDir.string() +
                      " was kept by the older program; convert it first with convert-paradox.");
    }
    writeStudyMarker(s.studiesDir, s.study);
    openMasters(data, s.dataDir);
    data.OpenStudy(s.studiesDir, s.study);
}

// A new study without the master tables starts with empty floors and kinds.
void noteMissingMasters(const TDravinDataT& data, const StudyArgs& s, std::ostream& out) {
    if (!data.FloorTo.isOpen()) {
        out << "The master tables were not found in " << s.dataDir.string()
            << "; the floor and kind tables of " << s.study << " start empty.\n";
    }
}

// Removes a study that a failed command created, so that a failure leaves nothing
// behind; a study that existed before is left alone.
class NewStudyGuard {
public:
    NewStudyGuard(TDravinDataT& data, const StudyArgs& s)
        : mData(data), mStudy(s), mExisted(studyExists(s.studiesDir, s.study)) {}
    ~NewStudyGuard() {
        if (mDone || mExisted) {
            return;
        }
        try {
            for (Table* t : mData.workingSet()) {
                t->close();
            }
            mData.DeleteStudy(mStudy.studiesDir, mStudy.study);
            std::filesystem::remove(studyMarkerPath(mStudy.studiesDir, mStudy.study));
        } catch (...) {
            // The command's own error is the one to report.
        }
    }
    NewStudyGuard(const NewStudyGuard&) = delete;
    NewStudyGuard& operator=(const NewStudyGuard&) = delete;
    void done() noexcept { mDone = true; }

private:
    TDravinDataT& mData;
    const StudyArgs& mStudy;
    bool mExisted;
    bool mDone = false;
};

// Keeps what the entry rules would tell the user, for the one line on stderr.
class MessagePrompter final : public Prompter {
public:
    void inform(const std::string& text) override { mMessage = text; }
    void error(const std::string& text) override { mMessage = text; }
    Answer confirm(const std::string&, bool) override { return Answer::No; }
    std::string message() const {
        std::string line = mMessage;
        for (char& c : line) {
            if (c == '\r' || c == '\n') {
                c = ' ';
            }
        }
        return line;
    }

private:
    std::string mMessage;
};

// The study with the entry rules attached, as the program works on it.
struct WorkingStudy {
    TDravinDataT data;
    MessagePrompter prompter;
    SilentFeedback silent;

    WorkingStudy(const StudyArgs& s) {
        requireStudy(s);
        openStudy(data, s);
        installEntryRules(data, prompter);
    }
    // Runs an operation; a refusal the rules explained becomes that explanation.
    template <typename F>
    void run(F operation) {
        try {
            operation();
        } catch (const AbortError&) {
            if (prompter.message().empty()) {
                throw;
            }
            throw Error(prompter.message());
        }
    }
};

std::int32_t parseInteger(const std::string& text, const std::string& what) {
    std::int32_t v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        throw UsageError(what + " must be a whole number, not \"" + text + "\"");
    }
    return v;
}

void cmdNew(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    TDravinDataT data;
    const bool existed = studyExists(s.studiesDir, s.study);
    NewStudyGuard guard(data, s);
    openStudy(data, s);
    guard.done();
    if (!existed) {
        noteMissingMasters(data, s, ctx.out);
    }
    ctx.out << "Study " << s.study << " is ready in directory " << s.studiesDir.string() << "\n";
}

void cmdCompute(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    WorkingStudy study(s);
    Table& spaces = study.data.DravinT;
    spaces.first();
    if (const auto at = a.option("at")) {
        // FLOOR,KIND,NUMBER; an empty part is blank.
        std::vector<Value> key;
        std::string rest = *at + ",";
        for (size_t pos; (pos = rest.find(',')) != std::string::npos; rest.erase(0, pos + 1)) {
            const std::string part = rest.substr(0, pos);
            key.push_back(part.empty() ? Value() : Value::integer(parseInteger(part, "--at")));
        }
        if (key.size() != 3) {
            throw UsageError("--at takes FLOOR,KIND,NUMBER");
        }
        if (!spaces.findKey(key)) {
            throw Error("The study has no record " + *at + ".");
        }
    }
    study.run([&] { ComputeAll(study.data, study.silent); });
    ctx.out << "Computed " << s.study << ": " << spaces.recordCount() << " records.\n";
}

double parseNumber(const std::string& text, const std::string& what) {
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        throw UsageError(what + " must be a number, not \"" + text + "\"");
    }
    return v;
}

// Text measuring and painting need a GUI application; without a display the
// offscreen platform serves.
void ensureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt's notes on the headless set-up are no failures; stderr keeps to one line.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "dravin-cli: %s\n", qPrintable(message));
        }
    });
    static int argc = 1;
    static char name[] = "dravin-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

void cmdReport(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    const int code = parseInteger(a.required("variant"), "--variant");
    if (code < 0 || code > 13) {
        throw UsageError("--variant must be a table variant from 0 to 13");
    }
    const auto pdf = a.option("pdf");
    const auto png = a.option("png");
    if (pdf.has_value() == png.has_value()) {
        throw UsageError("report takes one of --pdf FILE and --png PREFIX");
    }
    ReportOptions options;
    if (const auto font = a.option("font")) {
        options.printFont.setFamily(QString::fromStdString(*font));
    }
    if (const auto size = a.option("font-size")) {
        const double points = parseNumber(*size, "--font-size");
        if (points <= 0) {
            throw UsageError("--font-size must be above zero");
        }
        options.printFont.setPointSizeF(points);
    }
    if (const auto spacing = a.option("line-spacing")) {
        options.useLineSpacing = true;
        options.lineSpacing = parseNumber(*spacing, "--line-spacing");
    }

    // Refused before the study is touched, since a first report computes it.
    const std::filesystem::path target = pdf ? *pdf : *png;
    if (const auto dir = target.parent_path();
        !dir.empty() && !std::filesystem::is_directory(dir)) {
        throw IoError("The directory " + dir.string() + " does not exist.");
    }

    WorkingStudy study(s);
    ensureGuiApplication();
    if (const auto font = a.option("font")) {
        const QString used = QFontInfo(options.printFont).family();
        if (used.compare(options.printFont.family(), Qt::CaseInsensitive) != 0) {
            ctx.err << "dravin-cli: the font " << *font
                    << " is not installed; the table is printed in " << used.toStdString()
                    << " instead.\n";
        }
    }
    Table& spaces = study.data.DravinT;
    // A study never computed has no grand total row; the table needs one.
    if (!spaces.findKey({Value::integer(110), Value::integer(991)})) {
        spaces.first();
        study.run([&] { ComputeAll(study.data, study.silent); });
    }
    spaces.first();
    const ReportRenderer renderer(TDravinReport00::create(study.data, code, options)->generate());
    if (pdf) {
        renderer.writePdf(QString::fromStdString(*pdf), QStringLiteral("ΠΙΝΑΚΑΣ ΑΝΑΛΟΓΙΣΜΟΥ"));
        ctx.out << "Wrote " << renderer.pageCount() << " pages to " << *pdf << "\n";
        return;
    }
    constexpr double kDotsPerInch = 150;
    for (int i = 0; i < renderer.pageCount(); ++i) {
        const std::string file = *png + "-" + std::to_string(i + 1) + ".png";
        if (!renderer.pageImage(i, kDotsPerInch).save(QString::fromStdString(file), "PNG")) {
            throw IoError("The page image " + file + " could not be written.");
        }
        ctx.out << file << "\n";
    }
}

void cmdShow(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    WorkingStudy study(studyArgs(a, ctx));
    printSpaces(study.data, ctx.out);
}

void cmdRepeatFloor(const Arguments& a, Context& ctx) {
    a.expectPositional(2, "SOURCE and TARGET floors");
    const int source = parseInteger(a.positional()[0], "SOURCE");
    const int target = parseInteger(a.positional()[1], "TARGET");
    const StudyArgs s = studyArgs(a, ctx);
    WorkingStudy study(s);
    const int before = study.data.DravinT.recordCount();
    study.run([&] { RepeatFloor(study.data, source, target); });
    ctx.out << "Repeated floor " << source << " onto floor " << target << ": "
            << study.data.DravinT.recordCount() - before << " spaces added.\n";
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
    NewStudyGuard guard(data, s);
    openStudy(data, s);
    loadStudyJson(data, in);
    guard.done();
    ctx.out << "Loaded " << file << " into " << s.study << ".\n";
}

void cmdSaveAs(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs source = studyArgs(a, ctx);
    StudyArgs target = source;
    target.studiesDir = a.required("to-dir");
    target.study = a.required("to-study");
    requireStudy(source);
    requireDirectory(target.studiesDir);
    TDravinDataT data;
    openMasters(data, source.dataDir);
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

// The sibling's table lies in the studies directory unless --from names another.
void cmdImportBerok(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const StudyArgs s = studyArgs(a, ctx);
    const std::filesystem::path from = a.option("from").value_or(s.studiesDir.string());
    WorkingStudy study(s);
    BerokImport import(study.data);
    import.OpenBerokTable(from);
    study.run([&] { import.ImportBerokSpaces(); });
    ctx.out << "Imported " << study.data.DravinT.recordCount() << " spaces from "
            << import.BerokT.filePath().string() << " into " << s.study << ".\n";
}

// Converts the tables of the older program: those of a study, or the master tables of a
// data directory, or both; prints what was converted and where the originals are.
void cmdConvertParadox(const Arguments& a, Context& ctx) {
    a.expectPositional(0, "no further words");
    const auto studiesDir = a.option("studies-dir");
    const auto dataDir = a.option("data-dir");
    if (!studiesDir && !dataDir) {
        throw UsageError("convert-paradox needs --studies-dir and --study, or --data-dir");
    }
    std::vector<std::pair<std::string, ParadoxConversion>> conversions;
    if (dataDir) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*dataDir, ec)) {
            throw IoError("The data directory " + *dataDir + " does not exist.");
        }
        conversions.emplace_back("the master tables in " + *dataDir,
                                 ParadoxConversion::forMasters(*dataDir));
    }
    if (studiesDir) {
        const std::string study = a.required("study");
        requireDirectory(*studiesDir);
        if (!studyExists(*studiesDir, study)) {
            throw IoError("There is no study " + study + " in " + *studiesDir + ".");
        }
        conversions.emplace_back("the study " + study,
                                 ParadoxConversion::forStudy(*studiesDir, study));
    }
    for (auto& [what, conversion] : conversions) {
        if (!conversion.needed()) {
            ctx.out << "No tables of the older program in " << what << ".\n";
            continue;
        }
        ctx.out << conversion.run().text();
    }
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
        {"compute",
         {{"studies-dir", "study", "data-dir", "at"},
          cmdCompute,
          "compute --studies-dir S --study N [--data-dir D] [--at FLOOR,KIND,NUMBER]"}},
        {"report",
         {{"studies-dir", "study", "data-dir", "variant", "pdf", "png", "font", "font-size",
           "line-spacing"},
          cmdReport,
          "report --studies-dir S --study N --variant CODE (--pdf FILE | --png PREFIX) "
          "[--font NAME] [--font-size PT] [--line-spacing MM]"}},
        {"show", {kStudyOptions, cmdShow, "show --studies-dir S --study N"}},
        {"repeat-floor",
         {kStudyOptions, cmdRepeatFloor, "repeat-floor --studies-dir S --study N SOURCE TARGET"}},
        {"import-berok",
         {{"studies-dir", "study", "data-dir", "from"},
          cmdImportBerok,
          "import-berok --studies-dir S --study N [--from DIR]"}},
        {"convert-paradox",
         {kStudyOptions, cmdConvertParadox,
          "convert-paradox (--studies-dir S --study N | --data-dir D)"}},
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
