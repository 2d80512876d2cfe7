#pragma once

#include <stdexcept>
#include <string>

namespace toolkit {

// A run-time error of the game's logic: a failed conversion, an overflow of a
// 16-bit integer, a floating-point fault. It abandons the running method and
// all its callers up to the event handler, where the dispatcher hands it to the
// backend's handling of unhandled errors.
class RunTimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown by every pump (and every modal box) once the program is ending. It
// unwinds running rally loops, nested or not; the dispatcher swallows it at
// each handler boundary so that it never crosses the backend's own frames.
class ProgramEnding {};

}  // namespace toolkit
