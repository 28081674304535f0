#include "IoError.h"

#include "Messages.h"

#include <cstdio>

std::string IoErrorMessage(int code) {
    switch (code) {
    case IoError::kFileNotFound:
        return msg::kIoFileNotFound;
    case IoError::kInvalidFilename:
        return msg::kIoInvalidFilename;
    case IoError::kTooManyOpenFiles:
        return msg::kIoTooManyOpenFiles;
    case IoError::kAccessDenied:
        return msg::kIoAccessDenied;
    case IoError::kReadBeyondEnd:
        return msg::kIoReadBeyondEnd;
    case IoError::kDiskFull:
        return msg::kIoDiskFull;
    case IoError::kInvalidNumeric:
        return msg::kIoInvalidNumeric;
    default: {
        char buf[64];
        std::snprintf(buf, sizeof buf, msg::kIoOther, code);
        return buf;
    }
    }
}

IoError::IoError(int code) : Error(IoErrorMessage(code)), code_(code) {}

IoError::IoError(int code, const std::string& path)
    : Error(IoErrorMessage(code)), code_(code), path_(path) {}

std::string WithFinalDot(const std::string& text) {
    if (!text.empty() && text.back() == '.')
        return text;
    return text + ".";
}

std::string ErrorBoxText(const std::exception& e) {
    return WithFinalDot(e.what());
}
