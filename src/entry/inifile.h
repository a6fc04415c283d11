#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace dravin {

// Settings files in the conventional INI layout, code page 1253 on disk; every text in the
// interface is UTF-8.
//
// - Section and key names match without regard to letter case (Latin and Greek letters).
// - Every call opens the file, does its one access and closes it; nothing is cached.
// - Blanks (spaces, tabs) around names and values are not part of them, nor is one pair of
//   quotes (" or ') around a value, as with the Windows private-profile functions. A value
//   that would lose its blanks or quotes so is written inside a pair of double quotes.
// - Only the first section of a name, and the first key of a name within it, count.
// - No call reports a failure. A missing file or key reads as the default; a read that fails
//   (the file cannot be read, a number overflows) returns 0, false, 0.0 or the empty text.
//   A write that fails is dropped, and so is a write of a value iniValueProblem refuses or of
//   a name that could not be read back (empty, surrounding blanks, '=' in a
//   key, ']' in a section, a key starting with ';' or '[').
// - A write replaces the file as a whole through a temporary file in the same directory, so
//   an interrupted write leaves the old file; other lines keep their bytes. New files and
//   lines use CR LF; an existing file keeps the line ends of its first line.
// - A symbolic link at the path is followed: a write replaces the file it leads to and keeps
//   the link. Nothing but a regular file is ever replaced: a write onto a directory, a link
//   that leads to no file or any other kind of file is dropped.

// What in a text value keeps the settings file from holding it, as words that follow "it
// holds" in a Greek sentence ("τον χαρακτήρα «é»"): a character without a code page 1253
// form, a line break, or more characters than a read returns. None when it can be kept.
std::optional<std::string> iniValueProblem(const std::string& value);

// Why the settings file cannot serve as one, as one sentence that names it: something other
// than a regular file stands at its path (a directory, a link that leads to no file), or it
// cannot be opened for reading. None when it can, or when it is absent. Nothing can be read
// from or kept in such a file: the reads give their fallbacks (their defaults past a link to
// no file) and the writes are dropped.
std::optional<std::string> iniFileProblem(const std::filesystem::path& file);

// Why a write to the settings file would be dropped, as one sentence that names it: any
// problem of iniFileProblem, or a file or directory that takes no write. None when it can be
// written, or created where it is absent. Probes the directory by creating and removing a
// file in it, as a write would.
std::optional<std::string> iniWriteProblem(const std::filesystem::path& file);

// Decimal with optional sign, or hexadecimal after "0x"/"0X" (the 32-bit pattern, so
// 0xFFFFFFFF reads as -1). Text that is no such number yields the default.
int32_t IniReadInteger(const std::filesystem::path& file, const std::string& section,
                       const std::string& key, int32_t def) noexcept;
void IniWriteInteger(const std::filesystem::path& file, const std::string& section,
                     const std::string& key, int32_t value) noexcept;

// Stored as "1" or "0"; any non-zero integer reads as true.
bool IniReadBool(const std::filesystem::path& file, const std::string& section,
                 const std::string& key, bool def) noexcept;
void IniWriteBool(const std::filesystem::path& file, const std::string& section,
                  const std::string& key, bool value) noexcept;

// Stored as the integer nearest to value × 1000, halves to even; read back as the float
// nearest to the stored thousandths.
float IniReadFloat(const std::filesystem::path& file, const std::string& section,
                   const std::string& key, float def) noexcept;
void IniWriteFloat(const std::filesystem::path& file, const std::string& section,
                   const std::string& key, float value) noexcept;

// At most 2047 characters are returned, the default included.
std::string IniReadString(const std::filesystem::path& file, const std::string& section,
                          const std::string& key, const std::string& def) noexcept;
void IniWriteString(const std::filesystem::path& file, const std::string& section,
                    const std::string& key, const std::string& value) noexcept;

// Writes the variable, or reads the key with the variable as default into it.
void IniExchangeInteger(const std::filesystem::path& file, const std::string& section,
                        const std::string& key, bool write, int32_t& variable) noexcept;

// IniExchangeInteger on the ".DefaultINI" file of the running executable.
void DefaultIniExchangeInteger(const std::string& section, const std::string& key,
                               int32_t& variable, bool write) noexcept;

// The running executable, or an empty path where it cannot be found.
std::filesystem::path executablePath();

// The executable's path with its extension replaced by ".DefaultINI".
std::filesystem::path defaultIniPath(const std::filesystem::path& executable);

// The font family of all windows for the value of MAIN/FONT in the ".DefaultINI" file.
std::string windowFontName(int32_t fontSetting);

}  // namespace dravin
