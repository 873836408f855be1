#pragma once

#include <stdexcept>
#include <string>

// The error that every failing operation raises. No handler recovers from one:
// the forms runtime reports it by number and ends the program. It lives here,
// below the runtime, because the diagnosis core raises the overflow error too.
namespace tolvane {

// Error numbers, as the runtime reports them.
enum ErrorNumber : int {
    kInvalidCall = 5, // an operation called where it cannot act
    kOverflow = 6,    // a 16-bit addition left its range
    kOutOfMemory = 7,
    kInvalidProperty = 380, // a property the control does not have
    kInternalError = 51,    // anything the program did not foresee
};

class RuntimeError : public std::runtime_error {
public:
    // `where` names the operation that failed, for the report ("Form2.Check5.Value").
    RuntimeError(int number, const std::string& where)
        : std::runtime_error(where), number_(number), where_(where) {}

    int Number() const { return number_; }
    const std::string& Where() const { return where_; }

private:
    int number_;
    std::string where_;
};

} // namespace tolvane
