#pragma once
// The error types that leave the computing layers. A kernel failure is normally a value
// (-1.0, or 0.0 for the level conversion); these are the few failures that travel as
// exceptions and end a request with the general error report.

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace kelvora {

// Base of every error the general error report shows; what() is the text shown.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not a number: "'%s' is not a valid floating point value".
class ConvertError : public Error {
public:
    using Error::Error;
};

// A floating-point failure that the kernel does not turn into its failure value
// (the spherical cap's preparation, interpolation between points of equal level,
// the non-standard dished ratio).
class ArithmeticError : public Error {
public:
    using Error::Error;
};

// A file that cannot be read or written.
class IoError : public Error {
public:
    using Error::Error;
};

// Whether a text ends a sentence: the ASCII point, or the Chinese full stop, exclamation
// or question mark (UTF-8), which need no point after them.
inline bool endsInFullStop(const std::string& text) {
    if (!text.empty() && text.back() == '.') return true;
    for (const char* stop : {"\u3002", "\uFF01", "\uFF1F"}) {
        const std::string s(stop);
        if (text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0) return true;
    }
    return false;
}

// The text of the general error report: the error's text with a full stop added when it
// does not end in one.
inline std::string errorReportText(std::string text) {
    if (!endsInFullStop(text)) text.push_back('.');
    return text;
}

} // namespace kelvora
