# Numbers the statements an error report can name. Every LV_STMT( and LV_GUARD( in the
# window's sources gets a number, 1 up, in the order of the files' relative paths and then of
# lines, and the table declared in support/StatementTable.h is written to OUTPUT.
# SOURCE_ROOT may name several folders; a path is relative to the root that holds it.
#   cmake -DSOURCE_ROOT=<root[;root]> -DOUTPUT=<file.cpp> [-DFOLDERS=a;b] -P StatementTable.cmake
cmake_minimum_required(VERSION 3.25)

set(folders ${FOLDERS})
if(NOT folders)
  set(folders browse jobs mainwindow startup support)
endif()
set(max_statements 32767)  # error reports show the line as a 16-bit number
# The scan steps over comments and literals, so that marks and brackets inside them do not count.
set(mark_regex "//|/\\*|R\"\\(|[\"']|LV_(STMT|GUARD)\\(")
set(bracket_regex "//|/\\*|R\"\\(|[\"'()]")
string(ASCII 1 semicolon)  # stands in for ";" while the entries are held in a list

# Length of the comment or literal at the start of `text`, which begins with `token`.
function(skipped_length text token out)
  if(token STREQUAL "\"" OR token STREQUAL "'")
    string(REGEX MATCH "^${token}([^${token}\\\\\n]|\\\\.)*${token}" literal "${text}")
    string(LENGTH "${literal}" end)
    if(end EQUAL 0)  # a lone quote, such as the one in 1'000
      set(end 1)
    endif()
  else()
    if(token STREQUAL "//")
      string(FIND "${text}" "\n" end)
    elseif(token STREQUAL "/*")
      string(FIND "${text}" "*/" end)
      math(EXPR end "${end} + 2")
    else()  # R"(
      string(FIND "${text}" ")\"" end)
      math(EXPR end "${end} + 2")
    endif()
    if(end LESS 2)  # not closed before the end of the file
      string(LENGTH "${text}" end)
    endif()
  endif()
  set(${out} ${end} PARENT_SCOPE)
endfunction()

# The expression of an LV_STMT whose "(" ends just before `text`: up to the balancing ")",
# comments dropped, its lines joined by single spaces. `lines_out` gets the number of line ends
# before that ")".
function(statement_text text out lines_out)
  set(expression "")
  set(depth 0)
  set(lines 0)
  while(TRUE)
    string(REGEX MATCH "${bracket_regex}" token "${text}")
    if(token STREQUAL "")
      message(FATAL_ERROR "${path}:${line}: LV_STMT( has no closing )")
    endif()
    string(FIND "${text}" "${token}" at)
    string(SUBSTRING "${text}" 0 ${at} before)
    string(APPEND expression "${before}")
    count_line_ends("${before}" lines)
    string(SUBSTRING "${text}" ${at} -1 text)
    if(token STREQUAL ")" AND depth EQUAL 0)
      break()
    endif()
    set(length 1)
    if(token STREQUAL "(")
      math(EXPR depth "${depth} + 1")
    elseif(token STREQUAL ")")
      math(EXPR depth "${depth} - 1")
    else()
      skipped_length("${text}" "${token}" length)
    endif()
    string(SUBSTRING "${text}" 0 ${length} piece)
    count_line_ends("${piece}" lines)
    if(token MATCHES "^/")
      set(piece " ")
    endif()
    string(APPEND expression "${piece}")
    string(SUBSTRING "${text}" ${length} -1 text)
  endwhile()
  string(REGEX REPLACE "[ \t]*\r?\n[ \t]*" " " expression "${expression}")
  string(STRIP "${expression}" expression)
  set(${out} "${expression}" PARENT_SCOPE)
  set(${lines_out} ${lines} PARENT_SCOPE)
endfunction()

# Adds the line ends in `piece` to the variable named `lines`.
macro(count_line_ends piece lines)
  string(REGEX MATCHALL "\n" piece_ends "${piece}")
  list(LENGTH piece_ends piece_lines)
  math(EXPR ${lines} "${${lines}} + ${piece_lines}")
endmacro()

# The handler name of an LV_GUARD whose "(" ends just before `text`.
function(guard_text text out)
  string(REGEX MATCH "^[ \t\r\n]*\"([^\"\\\\]*)\"" name "${text}")
  if(name STREQUAL "")
    message(FATAL_ERROR "${path}:${line}: LV_GUARD( must start with the handler name in quotes")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# Moves past the first `count` characters of `text`, counting the lines they end.
macro(advance count)
  if(${count} GREATER 0)
    string(SUBSTRING "${text}" 0 ${count} passed)
    string(REGEX MATCHALL "\n" line_ends "${passed}")
    list(LENGTH line_ends ended)
    math(EXPR line "${line} + ${ended}")
    math(EXPR last "${count} - 1")
    string(SUBSTRING "${passed}" ${last} 1 previous)
    string(SUBSTRING "${text}" ${count} -1 text)
  endif()
endmacro()

# Appends an entry for every mark in the file at `path` to `entries`, one line of C++ each.
function(scan_file path)
  file(READ "${root_of_${path}}/${path}" text)
  # The macros' own definitions are not statements.
  string(REGEX REPLACE "(#[ \t]*define[ \t]+)LV_" "\\1_LV_" text "${text}")
  set(line 1)
  set(previous "")  # the character before `text`
  while(TRUE)
    string(REGEX MATCH "${mark_regex}" token "${text}")
    if(token STREQUAL "")
      break()
    endif()
    string(FIND "${text}" "${token}" at)
    advance(${at})
    string(LENGTH "${token}" length)
    if(token MATCHES "^LV_" AND NOT previous MATCHES "[A-Za-z0-9_]")
      string(SUBSTRING "${text}" ${length} -1 arguments)
      # Compilers differ in the line a mark spanning several lines reports (GCC its first,
      # Clang its last), so each entry holds both.
      statement_text("${arguments}" statement spanned)
      math(EXPR end_line "${line} + ${spanned}")
      if(token STREQUAL "LV_GUARD(")
        guard_text("${arguments}" statement)
      endif()
      if(line EQUAL last_line)
        message(FATAL_ERROR "${path}:${line}: two statement marks on one line cannot be told apart")
      endif()
      set(last_line ${line})
      string(REPLACE "\\" "\\\\" statement "${statement}")
      string(REPLACE "\"" "\\\"" statement "${statement}")
      string(REPLACE ";" "${semicolon}" statement "${statement}")
      list(LENGTH entries number)
      math(EXPR number "${number} + 1")
      list(APPEND entries "    {\"${path}\", ${line}, ${end_line}, ${number}, \"${statement}\"},")
    elseif(token MATCHES "^[/R\"]" OR (token STREQUAL "'" AND NOT previous MATCHES "[0-9]"))
      skipped_length("${text}" "${token}" length)
    endif()
    advance(${length})
  endwhile()
  set(entries "${entries}" PARENT_SCOPE)
endfunction()

set(entries "")
foreach(root IN LISTS SOURCE_ROOT)
  foreach(folder IN LISTS folders)
    file(GLOB found RELATIVE "${root}" "${root}/${folder}/*.cpp" "${root}/${folder}/*.h")
    foreach(path IN LISTS found)
      set(root_of_${path} "${root}")
    endforeach()
    list(APPEND paths ${found})
  endforeach()
endforeach()
list(SORT paths)
foreach(path IN LISTS paths)
  scan_file("${path}")
endforeach()

list(LENGTH entries count)
if(count GREATER max_statements)
  message(FATAL_ERROR "${count} statement marks: error lines cannot number more than ${max_statements}")
elseif(count EQUAL 0)
  set(body "std::span<const StatementEntry> ProgramStatements() { return {}; }")
else()
  list(JOIN entries "\n" rows)
  string(REPLACE "${semicolon}" ";" rows "${rows}")
  set(body "namespace {
constexpr StatementEntry kStatements[] = {
${rows}
};
}  // namespace

std::span<const StatementEntry> ProgramStatements() { return kStatements; }")
endif()
set(table "// Generated by cmake/StatementTable.cmake from the sources; edits are overwritten.
#include \"support/StatementTable.h\"

namespace lockvale {

${body}

}  // namespace lockvale
")

set(written "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" written)
endif()
if(NOT written STREQUAL table)
  file(WRITE "${OUTPUT}" "${table}")
endif()
