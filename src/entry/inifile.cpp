#include "entry/inifile.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "data/cp1253.h"

namespace dravin {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxTextLength = 2047;
constexpr std::string_view kNewFileLineEnd = "\r\n";

// ---- names and lines (all in code page 1253 bytes)

// Lower case of every code page 1253 byte; Latin and Greek capitals, accented ones included.
constexpr std::array<unsigned char, 256> makeFoldTable() noexcept {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        table[c] = static_cast<unsigned char>(c + 0x20);
    }
    for (int c = 0xC1; c <= 0xDB; ++c) {
        if (c != 0xD2) {  // undefined; its lower-case slot holds final sigma
            table[c] = static_cast<unsigned char>(c + 0x20);
        }
    }
    table[0xA2] = 0xDC;  // Ά ά
    table[0xB8] = 0xDD;  // Έ έ
    table[0xB9] = 0xDE;  // Ή ή
    table[0xBA] = 0xDF;  // Ί ί
    table[0xBC] = 0xFC;  // Ό ό
    table[0xBE] = 0xFD;  // Ύ ύ
    table[0xBF] = 0xFE;  // Ώ ώ
    table[0xF2] = 0xF3;  // ς σ: both are Σ in capitals
    return table;
}

constexpr auto kFold = makeFoldTable();

bool sameName(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) noexcept {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool hasLineBreak(std::string_view s) noexcept {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Names that a read could never find are refused for writing too.
bool validSection(std::string_view s) noexcept {
    return !s.empty() && trim(s) == s && !hasLineBreak(s) && s.find(']') == std::string_view::npos;
}

bool validKey(std::string_view k) noexcept {
    return !k.empty() && trim(k) == k && !hasLineBreak(k) &&
           k.find('=') == std::string_view::npos && k.front() != ';' && k.front() != '[';
}

struct Line {
    std::string text;
    std::string end;  // "\r\n", "\n", "\r", or empty on a last line without one
};

std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t stop = bytes.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(pos)), {}});
            break;
        }
        const size_t endLength = bytes.substr(stop, 2) == "\r\n" ? 2 : 1;
        lines.push_back({std::string(bytes.substr(pos, stop - pos)),
                         std::string(bytes.substr(stop, endLength))});
        pos = stop + endLength;
    }
    return lines;
}

std::string joinLines(const std::vector<Line>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::optional<std::string_view> sectionOf(std::string_view line) noexcept {
    const auto t = trim(line);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    const size_t close = t.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(t.substr(1, close - 1));
}

std::optional<std::string_view> keyOf(std::string_view line) noexcept {
    const auto t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') {
        return std::nullopt;
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(t.substr(0, eq));
}

bool isQuote(char c) noexcept {
    return c == '"' || c == '\'';
}

// One pair of quotes around a value is not part of it, as with the Windows functions.
std::string_view unquoted(std::string_view value) noexcept {
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view valueOf(std::string_view line) noexcept {
    return unquoted(trim(line.substr(line.find('=') + 1)));
}

// The value as written: in quotes where reading would otherwise lose its blanks or quotes.
std::string storedValue(const std::string& value) {
    if (trim(value) != value || unquoted(value) != value) {
        return "\"" + value + "\"";
    }
    return value;
}

struct Location {
    std::optional<size_t> section;
    std::optional<size_t> key;
    size_t sectionEnd = 0;  // after the section's last non-blank line
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location loc;
    size_t i = 0;
    while (i < lines.size()) {
        const auto name = sectionOf(lines[i].text);
        if (name && sameName(*name, section)) {
            break;
        }
        ++i;
    }
    if (i == lines.size()) {
        return loc;
    }
    loc.section = i;
    loc.sectionEnd = i + 1;
    for (size_t j = i + 1; j < lines.size() && !sectionOf(lines[j].text); ++j) {
        if (!trim(lines[j].text).empty()) {
            loc.sectionEnd = j + 1;
        }
        const auto name = keyOf(lines[j].text);
        if (!loc.key && name && sameName(*name, key)) {
            loc.key = j;
        }
    }
    return loc;
}

// ---- file access

enum class FileState { Present, Missing, Unreadable };

struct FileBytes {
    FileState state;
    std::string bytes;
};

FileBytes readFile(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) {
        return {FileState::Missing, {}};
    }
    // Only a regular file: opening a pipe would wait for a writer.
    if (ec || status.type() != fs::file_type::regular) {
        return {FileState::Unreadable, {}};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {FileState::Unreadable, {}};
    }
    std::string bytes;
    std::array<char, 4096> buffer;
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
        bytes.append(buffer.data(), static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        return {FileState::Unreadable, {}};
    }
    return {FileState::Present, std::move(bytes)};
}

// Opening for appending tells whether we may change the file without touching it; the
// rename below would otherwise replace a read-only file in a writable directory.
bool canWrite(const fs::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    return static_cast<bool>(out);
}

enum class CreateResult { Written, NameTaken, Failed };

// Writes a new file and forces it to disk, so that the rename never exposes a partial file.
CreateResult writeNewFile(const fs::path& path, const std::string& bytes) {
#ifdef _WIN32
    std::FILE* f = _wfopen(path.c_str(), L"wbx");
#else
    std::FILE* f = std::fopen(path.c_str(), "wbx");
#endif
    if (f == nullptr) {
        return errno == EEXIST ? CreateResult::NameTaken : CreateResult::Failed;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
#ifdef _WIN32
    ok = _commit(_fileno(f)) == 0 && ok;
#else
    ok = fsync(fileno(f)) == 0 && ok;
#endif
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::error_code ec;
        fs::remove(path, ec);
        return CreateResult::Failed;
    }
    return CreateResult::Written;
}

// A new file with the bytes beside the target, under a name no other file has; none when
// the directory takes no new file.
std::optional<fs::path> writeFileBeside(const fs::path& target, const std::string& bytes) {
    std::random_device random;
    for (int attempt = 0; attempt < 8; ++attempt) {
        fs::path temp = target;
        temp += ".";
        temp += std::to_string(random());
        temp += ".tmp";
        const auto result = writeNewFile(temp, bytes);
        if (result == CreateResult::Written) {
            return temp;
        }
        if (result == CreateResult::Failed) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void replaceFile(const fs::path& target, const std::string& bytes, bool existed) {
    const auto temp = writeFileBeside(target, bytes);
    if (!temp) {
        return;
    }
    std::error_code ec;
    if (existed) {
        const auto status = fs::status(target, ec);
        if (!ec) {
            fs::permissions(*temp, status.permissions(), ec);
        }
    }
    fs::rename(*temp, target, ec);
    if (ec) {
        fs::remove(*temp, ec);
    }
}

std::string settingsFileSentence(const fs::path& file, std::string_view what) {
    return "Το αρχείο ρυθμίσεων " + file.string() + " " + std::string(what) + ".";
}

// ---- one read, one write

struct Lookup {
    FileState state;
    std::optional<std::string> value;  // code page 1253 bytes; empty when the key is absent
};

Lookup lookup(const fs::path& file, const std::string& section, const std::string& key) {
    const auto current = readFile(file);
    if (current.state != FileState::Present) {
        return {current.state, std::nullopt};
    }
    if (!validSection(section) || !validKey(key) || !cp1253::canEncode(section) ||
        !cp1253::canEncode(key)) {
        return {FileState::Present, std::nullopt};  // no such name can be in the file
    }
    const auto lines = splitLines(current.bytes);
    const auto loc = locate(lines, cp1253::encode(section), cp1253::encode(key));
    if (!loc.key) {
        return {FileState::Present, std::nullopt};
    }
    return {FileState::Present, std::string(valueOf(lines[*loc.key].text))};
}

void insertLine(std::vector<Line>& lines, size_t at, std::string text, const std::string& end) {
    if (at > 0 && lines[at - 1].end.empty()) {
        lines[at - 1].end = end;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), end});
}

std::string lineEndOf(const std::vector<Line>& lines) {
    for (const auto& line : lines) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return std::string(kNewFileLineEnd);
}

void setValue(std::vector<Line>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
    const auto end = lineEndOf(lines);
    const auto loc = locate(lines, section, key);
    if (loc.key) {
        auto& line = lines[*loc.key];
        line.text = std::string(*keyOf(line.text)) + "=" + value;  // keeps the file's spelling
    } else if (loc.section) {
        insertLine(lines, loc.sectionEnd, key + "=" + value, end);
    } else {
        if (!lines.empty() && !trim(lines.back().text).empty()) {
            insertLine(lines, lines.size(), {}, end);
        }
        insertLine(lines, lines.size(), "[" + section + "]", end);
        insertLine(lines, lines.size(), key + "=" + value, end);
    }
}

void writeValue(const fs::path& file, const std::string& section, const std::string& key,
                const std::string& value) {
    if (!validSection(section) || !validKey(key) || iniValueProblem(value) ||
        !cp1253::canEncode(section) || !cp1253::canEncode(key)) {
        return;
    }
    fs::path target = file;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(file, ec))) {
        target = fs::canonical(file, ec);  // replace the file the link points to, not the link
        if (ec) {
            return;
        }
    }
    const auto current = readFile(target);
    const bool existed = current.state == FileState::Present;
    if (current.state == FileState::Unreadable || (existed && !canWrite(target))) {
        return;
    }
    auto lines = splitLines(current.bytes);
    setValue(lines, cp1253::encode(section), cp1253::encode(key),
             cp1253::encode(storedValue(value)));
    const auto bytes = joinLines(lines);
    if (existed && bytes == current.bytes) {
        return;
    }
    replaceFile(target, bytes, existed);
}

// ---- number encodings

enum class Parsed { Number, NotANumber, Overflow };

struct ParsedInteger {
    Parsed kind;
    int32_t value = 0;
};

int hexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Hexadecimal gives the 32-bit pattern, as the Windows hex constants do.
ParsedInteger parseHex(std::string_view digits) noexcept {
    if (digits.empty()) {
        return {Parsed::NotANumber};
    }
    uint64_t acc = 0;
    bool overflow = false;
    for (const char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) {
            return {Parsed::NotANumber};
        }
        acc = acc * 16 + static_cast<uint64_t>(d);
        if (acc > std::numeric_limits<uint32_t>::max()) {
            overflow = true;
            acc = 0;
        }
    }
    if (overflow) {
        return {Parsed::Overflow};
    }
    return {Parsed::Number, std::bit_cast<int32_t>(static_cast<uint32_t>(acc))};
}

ParsedInteger parseDecimal(std::string_view text) noexcept {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return {Parsed::NotANumber};
    }
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t acc = 0;
    bool overflow = false;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return {Parsed::NotANumber};
        }
        acc = acc * 10 + (c - '0');
        if (acc > limit) {
            overflow = true;
            acc = 0;
        }
    }
    if (overflow) {
        return {Parsed::Overflow};
    }
    return {Parsed::Number, static_cast<int32_t>(negative ? -acc : acc)};
}

ParsedInteger parseInteger(std::string_view text) noexcept {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parseHex(text.substr(2));
    }
    return parseDecimal(text);
}

// The integer nearest to value × 1000, halves to even; none when it leaves 32 bits.
std::optional<int32_t> toThousandths(float value) noexcept {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double scaled = static_cast<double>(value) * 1000.0;  // exact: 24 + 10 bits
    double rounded = std::round(scaled);
    if (std::fabs(scaled - std::trunc(scaled)) == 0.5) {
        rounded = 2.0 * std::round(scaled / 2.0);
    }
    if (rounded < std::numeric_limits<int32_t>::min() ||
        rounded > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(rounded);
}

// The float nearest to thousandths / 1000: the quotient is exact or correctly rounded in
// double, and narrowing it never rounds twice the wrong way (checked over all 32-bit values).
float fromThousandths(int32_t thousandths) noexcept {
    return static_cast<float>(static_cast<double>(thousandths) / 1000.0);
}

// The first 2047 characters of a UTF-8 text.
std::string capText(std::string text) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > kMaxTextLength) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace

std::optional<std::string> iniValueProblem(const std::string& value) {
    const auto unkept = cp1253::firstUnencodable(value);
    if (unkept) {
        return "τον χαρακτήρα «" + *unkept + "»";
    }
    if (hasLineBreak(value)) {
        return "αλλαγή γραμμής";
    }
    size_t characters = 0;
    for (const char c : value) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (characters + 2 > kMaxTextLength) {  // room for the quotes a write may add
        return "περισσότερους από " + std::to_string(kMaxTextLength - 2) + " χαρακτήρες";
    }
    return std::nullopt;
}

std::optional<std::string> iniFileProblem(const fs::path& file) {
    std::error_code ec;
    const auto entry = fs::symlink_status(file, ec);
    if (entry.type() == fs::file_type::not_found) {
        return std::nullopt;
    }
    if (ec) {
        return settingsFileSentence(file, "δεν διαβάζεται");
    }
    const auto status = fs::status(file, ec);
    if (ec || status.type() == fs::file_type::not_found) {
        // A dangling link or a loop of links: a write could not follow it either.
        return settingsFileSentence(
            file, fs::is_symlink(entry) ? "είναι συμβολικός σύνδεσμος που δεν οδηγεί σε αρχείο"
                                        : "δεν διαβάζεται");
    }
    if (status.type() == fs::file_type::directory) {
        return settingsFileSentence(file, "είναι φάκελος");
    }
    if (status.type() != fs::file_type::regular) {
        return settingsFileSentence(file, "δεν είναι κανονικό αρχείο");
    }
    if (!std::ifstream(file, std::ios::binary)) {
        return settingsFileSentence(file, "δεν διαβάζεται");
    }
    return std::nullopt;
}

std::optional<std::string> iniWriteProblem(const fs::path& file) {
    if (auto problem = iniFileProblem(file)) {
        return problem;
    }
    const auto cannot = settingsFileSentence(file, "δεν μπορεί να γραφτεί");
    fs::path target = file;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(file, ec))) {
        target = fs::canonical(file, ec);  // as writeValue does
        if (ec) {
            return cannot;
        }
    }
    if (fs::exists(target, ec) && !canWrite(target)) {
        return cannot;
    }
    const auto probe = writeFileBeside(target, {});
    if (!probe) {
        return cannot;
    }
    fs::remove(*probe, ec);
    return std::nullopt;
}

int32_t IniReadInteger(const fs::path& file, const std::string& section, const std::string& key,
                       int32_t def) noexcept {
    try {
        const auto found = lookup(file, section, key);
        if (found.state == FileState::Unreadable) {
            return 0;
        }
        if (!found.value) {
            return def;
        }
        const auto parsed = parseInteger(*found.value);
        switch (parsed.kind) {
            case Parsed::Number:
                return parsed.value;
            case Parsed::NotANumber:
                return def;
            case Parsed::Overflow:
                return 0;
        }
        return 0;
    } catch (...) {
        return 0;
    }
}

void IniWriteInteger(const fs::path& file, const std::string& section, const std::string& key,
                     int32_t value) noexcept {
    try {
        writeValue(file, section, key, std::to_string(value));
    } catch (...) {
        // A settings write that fails is dropped.
    }
}

bool IniReadBool(const fs::path& file, const std::string& section, const std::string& key,
                 bool def) noexcept {
    return IniReadInteger(file, section, key, def ? 1 : 0) != 0;
}

void IniWriteBool(const fs::path& file, const std::string& section, const std::string& key,
                  bool value) noexcept {
    IniWriteInteger(file, section, key, value ? 1 : 0);
}

float IniReadFloat(const fs::path& file, const std::string& section, const std::string& key,
                   float def) noexcept {
    const auto encodedDefault = toThousandths(def);
    if (!encodedDefault) {
        return 0.0f;
    }
    return fromThousandths(IniReadInteger(file, section, key, *encodedDefault));
}

void IniWriteFloat(const fs::path& file, const std::string& section, const std::string& key,
                   float value) noexcept {
    if (const auto encoded = toThousandths(value)) {
        IniWriteInteger(file, section, key, *encoded);
    }
}

std::string IniReadString(const fs::path& file, const std::string& section, const std::string& key,
                          const std::string& def) noexcept {
    try {
        const auto found = lookup(file, section, key);
        if (found.state == FileState::Unreadable) {
            return {};
        }
        return capText(found.value ? cp1253::decode(*found.value) : def);
    } catch (...) {
        return {};
    }
}

void IniWriteString(const fs::path& file, const std::string& section, const std::string& key,
                    const std::string& value) noexcept {
    try {
        writeValue(file, section, key, value);
    } catch (...) {
        // A settings write that fails is dropped.
    }
}

void IniExchangeInteger(const fs::path& file, const std::string& section, const std::string& key,
                        bool write, int32_t& variable) noexcept {
    if (write) {
        IniWriteInteger(file, section, key, variable);
    } else {
        variable = IniReadInteger(file, section, key, variable);
    }
}

void DefaultIniExchangeInteger(const std::string& section, const std::string& key,
                               int32_t& variable, bool write) noexcept {
    fs::path file;
    try {
        const auto executable = executablePath();
        if (!executable.empty()) {
            file = defaultIniPath(executable);
        }
    } catch (...) {
        file.clear();
    }
    if (file.empty()) {
        if (!write) {
            variable = 0;  // the file cannot be found, so the read fails
        }
        return;
    }
    IniExchangeInteger(file, section, key, write, variable);
}

fs::path executablePath() {
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return fs::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code ec;
    auto path = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path{} : path;
#endif
}

fs::path defaultIniPath(const fs::path& executable) {
    return fs::path(executable).replace_extension(".DefaultINI");
}

std::string windowFontName(int32_t fontSetting) {
    switch (fontSetting) {
        case 7:
            return "Arial";
        case 9:
            return "Segoe UI";
        default:
            return "MS Sans Serif";
    }
}

}  // namespace dravin
