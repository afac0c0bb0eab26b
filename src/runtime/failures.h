#pragma once
// The failures that travel through the system. Only the front ends catch them
// (see run_handler.h): SilentAbort is swallowed, everything else is reported.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ligamor {

// Stops the current operation after its own message was shown; never reported.
struct SilentAbort {};

// One of the records' own checks refused the line after its box; the text is
// the box's, Windows-1252. Caught as SilentAbort wherever lines stop the cycle.
struct RecordRefused : SilentAbort {
    std::string text;
};

// A failure that carries the message the error report shows (Windows-1252 bytes).
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message), message_(message) {}
    // Whole: a value holding a NUL byte does not cut it there, as what() does.
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// The text of any failure: a Failure's whole message, otherwise what().
std::string WholeText(const std::exception& failure);

// A failed open, read, write or close of a file, with the operating system's code.
class IoFailure : public Failure {
public:
    explicit IoFailure(int osCode);
    IoFailure(int osCode, const std::string& message) : Failure(message), code_(osCode) {}
    int Code() const { return code_; }
private:
    int code_;
};

// "File not found" for 2, ... "I/O error %d" otherwise.
std::string IoErrorMessage(int osCode);

// A text that must be converted (an integer, a date) and cannot be.
class ConversionFailure : public Failure {
public:
    using Failure::Failure;
};

// "'%s' is not a valid integer value"
ConversionFailure InvalidInteger(const std::string& text);
// "'%s' is not a valid date"
ConversionFailure InvalidDate(const std::string& text);

// A failure reported by the database, its text built from the status vector.
class DatabaseFailure : public Failure {
public:
    explicit DatabaseFailure(const std::string& message, long iscCode = 0, std::vector<long> allCodes = {})
        : Failure(message), iscCode_(iscCode), allCodes_(std::move(allCodes))
    {
    }
    long IscCode() const { return iscCode_; }
    // Every code of the status vector, the first one included.
    const std::vector<long>& AllCodes() const { return allCodes_; }
private:
    long iscCode_;
    std::vector<long> allCodes_;
};

// The settings file could not be read, or holds a value that cannot be used
// (TEMPO_COMUNICACAO that is no number). Its own type: the service's --once
// exit status tells it from a failed connection or cycle, whatever other
// failures activation may raise.
class SettingsFailure : public Failure {
public:
    using Failure::Failure;
};

// A working directory that could not be created.
class DirectoryFailure : public Failure {
public:
    using Failure::Failure;
};

}  // namespace ligamor
