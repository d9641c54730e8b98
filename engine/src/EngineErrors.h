// Errors raised by the engine and the trapping convention of its procedures.
//
// A procedure that traps an error raises it again with the same number, its own location
// ("Caldren.Fetch"), a carriage return and the previous source, and the program's
// description. Errors of the platform itself (overflow, division by zero, type mismatch,
// the collection's failures) start the chain with the source "Vesmora".
#pragma once

#include "ValueKinds.h"

#include <activation/Com.h>

#include <new>
#include <stdexcept>
#include <string>

namespace vesmora {

using activation::ComError;

inline constexpr const char* kAppDescription = "Caldren Formula Calculator";
inline constexpr const char* kPlatformSource = "Vesmora";
// Description of an error that the engine raises without a description of its own.
inline constexpr const char* kGenericDescription = "Application-defined or object-defined error";
inline constexpr const char* kNotANumberSource = "This item needs to be a number.";

// Platform error numbers.
inline constexpr long kErrInvalidCall = 5;
inline constexpr long kErrOverflow = 6;
inline constexpr long kErrOutOfMemory = 7;
inline constexpr long kErrSubscript = 9;
inline constexpr long kErrDivisionByZero = 11;
inline constexpr long kErrTypeMismatch = 13;
inline constexpr long kErrObjectNotSet = 91;
inline constexpr long kErrNotSupported = 445;
inline constexpr long kErrDuplicateKey = 457;
// Engine error numbers.
inline constexpr long kErrTooLong = 10001;
inline constexpr long kErrNotANumber = 10002;
inline constexpr long kErrNoFileName = 10003;
inline constexpr long kErrIncomplete = 10005;

[[noreturn]] inline void RaisePlatform(long number) { throw ComError(number, kPlatformSource); }

// Runs f; any error that leaves it is raised again under `location`.
template <class F>
auto Trapped(const char* location, F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const ComError& e) {
        throw e.Rethrown(location, kAppDescription);
    } catch (const std::bad_alloc&) {
        throw ComError(kErrOutOfMemory, kPlatformSource).Rethrown(location, kAppDescription);
    } catch (const std::exception& e) {
        throw ComError(kErrInvalidCall, e.what()).Rethrown(location, kAppDescription);
    }
}

// Text to amount as the platform converts it: type mismatch (13) or overflow (6).
inline vk::Amount ToAmount(const std::string& text) {
    vk::Amount a = 0;
    switch (vk::ParseAmount(text, a)) {
        case vk::Conv::Ok:
            return a;
        case vk::Conv::Overflow:
            RaisePlatform(kErrOverflow);
        case vk::Conv::NotANumber:
            break;
    }
    RaisePlatform(kErrTypeMismatch);
}

// Largest amount an input may hold: its whole-unit text (halves away from zero) must itself
// be an amount, or the analysis could be saved with a value that no longer reads back.
inline constexpr vk::Amount kLargestInputAmount = 9223372036854774999;  // 922,337,203,685,477.4999

// Text to amount as an amount property's setter checks it: 10002 or overflow (6).
inline vk::Amount InputAmount(const std::string& text) {
    vk::Amount a = 0;
    switch (vk::ParseAmount(text, a)) {
        case vk::Conv::Ok:
            if (a > kLargestInputAmount || a < -kLargestInputAmount) RaisePlatform(kErrOverflow);
            return a;
        case vk::Conv::Overflow:
            RaisePlatform(kErrOverflow);
        case vk::Conv::NotANumber:
            break;
    }
    throw ComError(kErrNotANumber, kNotANumberSource, kGenericDescription);
}

// Text to double as the platform converts it (type mismatch on failure).
inline double ToRatio(const std::string& text) {
    double d = 0;
    if (!vk::ParseRatio(text, d)) RaisePlatform(kErrTypeMismatch);
    return d;
}

}  // namespace vesmora
