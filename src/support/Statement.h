#pragma once

#include <utility>

// Marks a statement that can fail and evaluates it; its value, if any, is the expression's.
// An error report then names this statement, by the number the build gives it.
//   LV_STMT(RunFileJob(cipher, request));
//   auto count = LV_STMT(cipher.ArrayDecrypt(plain, cipherBytes, 0));
#define LV_STMT(...) \
  ::lockvale::RunStatement(__FILE__, __LINE__, [&]() -> decltype(auto) { return __VA_ARGS__; })

// Runs an event handler's body. An exception that escapes it is reported through ModError, with
// the marked statement it failed in, and the handler returns.
//   LV_GUARD("cmdEncryptFile_Click", [&] { ... });
#define LV_GUARD(handlerName, ...) \
  ::lockvale::RunGuarded(__FILE__, __LINE__, handlerName, __VA_ARGS__)

namespace lockvale {

// Notes file:line as the statement the exception now propagating failed in, unless a statement
// inside this one has already claimed that exception.
void NoteFailingStatement(const char* file, int line) noexcept;
void ForgetFailingStatement() noexcept;
// Reports the exception being handled; the guard at guardFile:guardLine names the failure when
// no marked statement inside it does.
void ReportHandlerFailure(const char* guardFile, int guardLine) noexcept;

template <typename Expression>
decltype(auto) RunStatement(const char* file, int line, Expression&& expression) {
  try {
    return std::forward<Expression>(expression)();
  } catch (...) {
    NoteFailingStatement(file, line);
    throw;
  }
}

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
