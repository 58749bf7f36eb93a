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

void ReportHandlerFailure(const char* guardFile, int guardLine) noexcept {
  // Nothing may leave here: the handler was called from Qt's event loop, which exceptions must
  // not cross, and a report that cannot even be built has nowhere else to go.
  try {
    const ErrorDetails error = DescribeCurrentException();
    int statement = 0;
    if (const StatementPlace place = FailingStatement(); place.file != nullptr)
      statement = StatementNumber(place.file, place.line);
    if (statement == 0) statement = StatementNumber(guardFile, guardLine);
    ForgetFailingStatement();
    ModError::Report(error.number, error.description, statement);
  } catch (...) {
    ForgetFailingStatement();
  }
}

}  // namespace lockvale
