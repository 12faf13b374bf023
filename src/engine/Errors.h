// Errors that stop a run: they travel up to the event boundary, where the window (or the silent
// runner) shows their message in an error box.
#pragma once

#include <stdexcept>
#include <string>

namespace engine {

// A folder that cannot be created or entered, a file that cannot be written.
class EInOutError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A text that should hold a number and does not.
class EConvertError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A system object (a shell link) that cannot be made.
class EOleError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace engine
