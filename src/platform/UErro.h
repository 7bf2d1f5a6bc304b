#pragma once

#include <stdexcept>
#include <string>

// The one failure of the system: it carries the message text shown to the user (code page 1252).
class EFalha : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
