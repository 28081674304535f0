// Errors raised by the core. Every failed file operation raises an IoError
// carrying the system error code the user is shown (2 "File not found", 100
// "Read beyond end of file", ...). Other failures that stop a command with a
// message of their own raise a plain Error.
#pragma once

#include <stdexcept>
#include <string>

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
    // The name printed in the batch mode's exception report.
    virtual const char* ClassName() const { return "Error"; }
};

class IoError : public Error {
  public:
    explicit IoError(int code);
    IoError(int code, const std::string& path);
    int Code() const { return code_; }
    const std::string& Path() const { return path_; }
    const char* ClassName() const override { return "IoError"; }

    static constexpr int kFileNotFound = 2;
    static constexpr int kInvalidFilename = 3;
    static constexpr int kTooManyOpenFiles = 4;
    static constexpr int kAccessDenied = 5;
    static constexpr int kReadBeyondEnd = 100;
    static constexpr int kDiskFull = 101;
    static constexpr int kInvalidNumeric = 106;

  private:
    int code_;
    std::string path_;
};

// The message shown for a system error code.
std::string IoErrorMessage(int code);

// The text of an error box: the message with a "." appended unless it already
// ends in one.
std::string ErrorBoxText(const std::exception& e);
std::string WithFinalDot(const std::string& text);
