#pragma once

#include <utility>

// Marks a statement that can fail and evaluates it; its value, if any, is the expression's.
// An error report then names this statement, by the number the build gives it.
//   LV_STMT(RunFileJob(cipher, request));
//   auto result = LV_STMT(cipher.ArrayDecrypt(plain, cipherBytes, 0));
#define LV_STMT(...) \
  ::lockvale::RunStatement(__FILE__, __LINE__, [&]() -> decltype(auto) { return __VA_ARGS__; })

namespace lockvale {

struct StatementPlace {
  const char* file = nullptr;  // null: no marked statement
  int line = 0;
};

// Notes file:line as the statement the exception now propagating failed in, unless a statement
// inside this one has already claimed that exception.
void NoteFailingStatement(const char* file, int line) noexcept;
// Also what a thread that runs marked statements does before it ends.
void ForgetFailingStatement() noexcept;
// The innermost marked statement that the exception being handled left, if any.
StatementPlace FailingStatement() noexcept;

template <typename Expression>
decltype(auto) RunStatement(const char* file, int line, Expression&& expression) {
  try {
    return std::forward<Expression>(expression)();
  } catch (...) {
    NoteFailingStatement(file, line);
    throw;
  }
}

}  // namespace lockvale
