#include <clocale>

#include "cli/CliMain.h"
#include "cli/Console.h"
#include "util/SecretMemory.h"

int main(int argc, char** argv) {
  lockvale::DisableCoreDumps();
  lockvale::console::RemoveTemporaryFilesOnEndingSignals();
  // Keys and texts become bytes through the code page of the user's locale, as in the window.
  std::setlocale(LC_CTYPE, "");
  return lockvale::RunCli(lockvale::console::Arguments(argc, argv));
}
