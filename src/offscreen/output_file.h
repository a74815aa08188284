#pragma once
// The file a headless mode writes. It is claimed before the work starts, so a destination that
// cannot be written is refused before minutes of rendering, and it appears whole or not at all.
#include <cstdio>
#include <string>

namespace smokedrift {

class OutputFile {
public:
    OutputFile() = default;
    // Removes the temporary file of an output that was never committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // An existing file is written only where the user could open it for writing, through a link
    // only where the kernel follows it for this user. A regular file (or a name not taken yet) is
    // written under a temporary name beside it, created exclusively, and renamed over it at
    // commit; until then SIGINT, SIGTERM and SIGHUP remove the temporary file and end the process,
    // unless they were ignored on entry; another account's file in a sticky folder, which the
    // rename could not replace, is refused here. Anything else that exists (a device, a pipe, a
    // terminal, the file our standard output or error is open on) is written through as it is,
    // never replaced. False with a one-line reason.
    bool open(const std::string& path, std::string& error);

    // Where the bytes go; valid between open and commit.
    std::FILE* stream() const { return file; }

    // Flushes, closes and puts the file in place. False with the reason of the first failure (a
    // full disk, the device's own error); nothing is left behind then.
    bool commit(std::string& error);

    // Gives the output up: the temporary file goes, a device is closed.
    void abandon() { discard(); }

    // "cannot write PATH: " and the reason for an errno value.
    std::string failure(int errnum) const;

private:
    void discard();

    std::string path;         // as the user named it, for messages
    std::string destination;  // the file meant, links resolved
    std::string temporary;    // empty when writing through
    std::FILE* file = nullptr;
};

}  // namespace smokedrift
