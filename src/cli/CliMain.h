#pragma once

namespace lockvale {

// The whole of lockvale-cli: reads the arguments, does the work, returns the exit status.
int RunCli(int argc, char** argv);

}  // namespace lockvale
