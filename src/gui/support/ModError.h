#pragma once

#include <QString>

// The program's one channel for unexpected errors: shows the error with the statement it struck
// in and lets the user silence that statement for the rest of the run. Any thread may report; the
// report is shown on the window's thread.
namespace lockvale::ModError {

// `line` is the failing statement's number; 0, a statement without one, is never shown.
void Report(int number, const QString& description, int line);

}  // namespace lockvale::ModError
