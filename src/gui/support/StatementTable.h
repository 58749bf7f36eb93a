#pragma once

#include <span>
#include <string_view>

namespace lockvale {

// A statement that error reports can name: LV_STMT or LV_GUARD at `line` of `file`, a path
// relative to the source folder ("mainwindow/frmMain.cpp"). `text` is the statement as written.
struct StatementEntry {
  const char* file;
  int line;
  int lastLine;  // where a mark spanning several lines ends
  int number;
  const char* text;
};

// The program's statements, numbered from 1 in source order; generated at build time.
std::span<const StatementEntry> ProgramStatements();

// The statements in force: the program's, unless a test has put its own in place.
std::span<const StatementEntry> Statements();

// The number of the statement marked at `line` of `file` (a path as __FILE__ gives it),
// 0 for a place that carries none.
int StatementNumber(std::string_view file, int line);

}  // namespace lockvale
