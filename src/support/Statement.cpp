#include "support/Statement.h"

#include <QString>
#include <cerrno>
#include <exception>
#include <new>
#include <system_error>

#include "support/ModError.h"
#include "support/StatementTable.h"
#include "util/RaisedError.h"

namespace lockvale {

namespace {

// The innermost marked statement the exception in flight has left. Holding the exception
// itself tells a fresh failure from one that ordinary code caught and put aside.
struct FailingStatement {
  std::exception_ptr exception;
  const char* file = nullptr;
  int line = 0;
};

thread_local FailingStatement t_Failing;

struct ErrorDetails {
  int number;
  QString description;
};

// Must be called while an exception is being handled.
ErrorDetails DescribeCurrentException() {
  try {
    throw;
  } catch (const RaisedError& error) {
    return {error.Number(), QString::fromStdString(error.what())};
  } catch (const std::system_error& error) {
    return {error.code().value(), QString::fromStdString(error.what())};
  } catch (const std::bad_alloc&) {
    return {ENOMEM, QString::fromStdString(std::generic_category().message(ENOMEM))};
  } catch (const std::exception& error) {
    return {1, QString::fromStdString(error.what())};
  } catch (...) {
    return {1, QStringLiteral("Unknown error")};
  }
}

}  // namespace

void NoteFailingStatement(const char* file, int line) noexcept {
  std::exception_ptr exception = std::current_exception();
  if (t_Failing.exception == exception) return;
  t_Failing = {std::move(exception), file, line};
}

void ForgetFailingStatement() noexcept {
  t_Failing = {};
}

void ReportHandlerFailure(const char* guardFile, int guardLine) noexcept {
  // Nothing may leave here: the handler was called from Qt's event loop, which exceptions must
  // not cross, and a report that cannot even be built has nowhere else to go.
  try {
    const ErrorDetails error = DescribeCurrentException();
    int statement = 0;
    if (t_Failing.exception == std::current_exception())
      statement = StatementNumber(t_Failing.file, t_Failing.line);
    if (statement == 0) statement = StatementNumber(guardFile, guardLine);
    ForgetFailingStatement();
    ModError::Report(error.number, error.description, statement);
  } catch (...) {
    ForgetFailingStatement();
  }
}

}  // namespace lockvale
