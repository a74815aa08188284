#pragma once
// A stand-in for libGL/libGLU in unit tests: every gl*/glu* call the engine makes is recorded
// with its arguments, and the matrix calls are also carried out on a small matrix stack so that
// matrix read-backs return what real OpenGL would.
#include <initializer_list>
#include <string>
#include <vector>

namespace recgl {

struct Call {
    std::string name;
    std::vector<double> args;
};

// Every call since the last reset(), in order.
const std::vector<Call>& calls();

// Forgets the recorded calls, the matrix stacks and the uploads (names keep counting).
void reset();

// Only the calls with this name.
std::vector<Call> callsNamed(const std::string& name);
std::size_t count(const std::string& name);

// Names only, in order: handy for comparing sequences.
std::vector<std::string> names();

// Bytes of the last glTexImage2D/glTexSubImage2D upload (width × height × bytes per pixel).
const std::vector<unsigned char>& lastUpload();

// With recording off, calls are still carried out (matrices, names) but nothing is stored, so a
// caller can observe code that must not allocate.
void setRecording(bool on);

// Internal: used by the definitions to record. The list form allocates nothing while recording
// is off.
void record(const char* name, std::initializer_list<double> args);
void record(const char* name, std::vector<double> args);

}  // namespace recgl
