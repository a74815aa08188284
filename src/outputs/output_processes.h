#pragma once
// The full-screen saver on a Wayland session: one process per output, each running the host for
// the output it was given, and this one watching them. The scene is one object drawn at one size,
// and outputs have sizes of their own; so this room above the backends lists the outputs over the
// Wayland connection, forks a process for each and keeps the run's books, and the Wayland backend
// in each process draws only on the output it is told.
//
// Limits: at most SCENE_OUTPUTS processes draw the scene (an OpenGL context each, on llvmpipe
// about 25 MiB of its own); those started past that cover their output black, without OpenGL.
// SMOKEDRIFT_SCENE_OUTPUTS lowers the limit, to try the black cover. The tables hold MAX_GROUP.
#include <sys/types.h>

#include <cstdint>

#include "base/session_environment.h"
#include "platform/wayland/wl_state.h"

namespace smokedrift::outputs {

constexpr int SCENE_OUTPUTS = 16;

// The process of an output, as the watching process knows it.
struct Member {
    pid_t pid = 0;
    std::uint32_t output = 0;  // the registry's name
    bool leaving = false;      // its output went away: how it ends does not matter
    bool black = false;        // past the scene limit: covers its output black
};

// The watching process's books.
struct OutputProcesses {
    Member members[wl::MAX_GROUP];
    // Outputs whose process ended as if the output went while the compositor still lists them
    // (it closed our surface there): a new process would only see it closed again. An entry goes
    // once its output is no longer listed. 0: a free slot.
    std::uint32_t abandoned[wl::MAX_OUTPUTS] = {};
    // The descriptor of the session's lock held for the run, which each output's process closes.
    int runningMark = -1;
};

OutputProcesses& books();

// What the run says to the process that asked for it.
struct OutputRun {
    // The run's exit code once it is over; -1 in a process of the run, which goes on to run the
    // host for its output.
    int ended = -1;
    bool black = false;  // in a process of the run: the host runs without the scene
};

// Connects, takes the session's lock (a second run on the same compositor ends at once with 0,
// leaving the first alone), covers every output with a process and watches them: an output that
// appears gets a process; one that goes away takes its process with it; the first process that
// ends for any other reason (input, a failure) ends the run with its code. Stop signals end the
// run with 0, a lost compositor with 255 and one line.
OutputRun runOnEveryOutput(const SessionEnvironment& session);

// A process of the run ended with `status`: what it held in the group goes; the code that ends
// the run, or -1 when it goes on.
int memberEnded(wl::Group& group, pid_t pid, int status);
// No new process is started for an output whose process ended as if the output went.
bool outputAbandoned(std::uint32_t output);

}  // namespace smokedrift::outputs
