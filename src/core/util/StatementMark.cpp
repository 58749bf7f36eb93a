#include "util/StatementMark.h"

#include <exception>
#include <new>

namespace lockvale {
namespace {

// Holding the exception itself tells a fresh failure from one that ordinary code caught
// and put aside.
struct FailingState {
  std::exception_ptr exception;
  StatementPlace place;
};

// Held through a pointer, as a thread-local object of its own must have no destructor: MinGW runs
// such destructors after it has freed the thread's storage, which corrupts the heap whenever a
// thread ends. A thread that noted a failure forgets it before it ends.
thread_local FailingState* t_Failing = nullptr;

}  // namespace

void NoteFailingStatement(const char* file, int line) noexcept {
  std::exception_ptr exception = std::current_exception();
  if (t_Failing != nullptr && t_Failing->exception == exception) return;
  if (t_Failing == nullptr) t_Failing = new (std::nothrow) FailingState;
  if (t_Failing != nullptr) *t_Failing = {std::move(exception), {file, line}};
}

void ForgetFailingStatement() noexcept {
  delete t_Failing;
  t_Failing = nullptr;
}

StatementPlace FailingStatement() noexcept {
  if (t_Failing == nullptr || t_Failing->exception != std::current_exception()) return {};
  return t_Failing->place;
}

}  // namespace lockvale
