#pragma once

#include <utility>

#include "util/StatementMark.h"

// Runs an event handler's body. An exception that escapes it is reported through ModError, with
// the marked statement it failed in, and the handler returns. A worker thread's guard works alike:
// the statement is noted per thread, and the report is shown on the window's thread.
//   LV_GUARD("cmdEncryptFile_Click", [&] { ... });
#define LV_GUARD(handlerName, ...) \
  ::lockvale::RunGuarded(__FILE__, __LINE__, handlerName, __VA_ARGS__)

namespace lockvale {

// Reports the exception being handled; the guard at guardFile:guardLine names the failure when
// no marked statement inside it does.
void ReportHandlerFailure(const char* guardFile, int guardLine) noexcept;

// The handler's name only matters to the build, which takes it as the guard's statement text.
template <typename Body>
void RunGuarded(const char* file, int line, const char* /*handlerName*/, Body&& body) {
  ForgetFailingStatement();
  try {
    std::forward<Body>(body)();
  } catch (...) {
    ReportHandlerFailure(file, line);
  }
}

}  // namespace lockvale
