#pragma once
// What --help prints: every mode, option and exit code of the Linux command line.

namespace smokedrift {

void printHelp();

}  // namespace smokedrift
