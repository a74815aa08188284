#pragma once
// What a POSIX entry hands to the emulation's process calls before the host starts.

namespace smokedrift {

// The command line GetCommandLineA returns: program name, a blank, then the tail.
void setCommandLine(const char* commandLine);

}  // namespace smokedrift
