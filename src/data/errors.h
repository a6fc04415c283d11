#pragma once

#include <stdexcept>
#include <string>

namespace dravin {

// Every failure the user may see carries one readable sentence. Only the edges
// (command wrapper, command-line tool, C entry point) show it.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A table operation the engine refused: key violation, missing table, foreign file, ...
class EngineError : public Error {
public:
    using Error::Error;
};

// A post or a load would give two records the same primary key.
class KeyViolationError : public EngineError {
public:
    using EngineError::EngineError;
};

// A table file another program holds open: the file was not touched.
class InUseError : public EngineError {
public:
    using EngineError::EngineError;
};

// A file could not be created, written, read or deleted.
class IoError : public Error {
public:
    using Error::Error;
};

// A value outside the range an operation accepts.
class RangeError : public Error {
public:
    using Error::Error;
};

// Outside input (text, exchange file) that cannot be read.
class ParseError : public Error {
public:
    using Error::Error;
};

// Ends a command without a message, as when the user declines a deletion.
class AbortError : public std::exception {
public:
    const char* what() const noexcept override { return "Η ενέργεια διακόπηκε."; }
};

}  // namespace dravin
