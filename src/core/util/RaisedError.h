#pragma once

#include <stdexcept>
#include <string>

namespace lockvale {

// An error the program raises itself for a bad argument. It carries a number
// (always 1 for the program's own errors) and a description of the form
// "Class.Operation - text", which the error reporter shows unchanged.
class RaisedError : public std::runtime_error {
 public:
  RaisedError(int number, const std::string& description)
      : std::runtime_error(description), m_Number(number) {}
  int Number() const { return m_Number; }

 private:
  int m_Number;
};

}  // namespace lockvale
