// The program's exceptions. Every failure is reported by an exception whose message is the text the
// user sees ("TBSpline.SubCurve - UpperT is less than LowerT"); the exception handler shows it.
#pragma once
#include <stdexcept>
#include <string>

namespace sarnova {

// Root of every exception the program raises on purpose.
class EError : public std::runtime_error {
public:
    explicit EError(const std::string& Message) : std::runtime_error(Message) {}
    ~EError() override;
};

// A text that should hold a number, a colour, a name ... does not.
class EConvertError : public EError {
public:
    using EError::EError;
};

// Reading or writing a file failed; the message names the file.
class EInOutError : public EError {
public:
    using EError::EError;
};

// A geometric routine was given input it cannot work with (degenerate, out of range, damaged block).
class EGeometryError : public EError {
public:
    using EError::EError;
};

}  // namespace sarnova
