#include "util/StatementMark.h"

#include <exception>

namespace lockvale {
namespace {

// Holding the exception itself tells a fresh failure from one that ordinary code caught
// and put aside.
struct FailingState {
  std::exception_ptr exception;
  StatementPlace place;
};

thread_local FailingState t_Failing;

}  // namespace

void NoteFailingStatement(const char* file, int line) noexcept {
  std::exception_ptr exception = std::current_exception();
  if (t_Failing.exception == exception) return;
  t_Failing = {std::move(exception), {file, line}};
}

void ForgetFailingStatement() noexcept {
  t_Failing = {};
}

StatementPlace FailingStatement() noexcept {
  if (t_Failing.exception != std::current_exception()) return {};
  return t_Failing.place;
}

}  // namespace lockvale
