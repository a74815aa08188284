#pragma once
// What --help prints: every mode, option and exit code of the Linux command line; and --version.

namespace smokedrift {

void printHelp();
void printVersion();

}  // namespace smokedrift
