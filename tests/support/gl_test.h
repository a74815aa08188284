#pragma once
// Fixture and helpers shared by the unit tests that look at GL call sequences.
#include <gtest/gtest.h>

#include "recording_gl.h"

class RecordingGlTest : public ::testing::Test {
protected:
    void SetUp() override { recgl::reset(); }
};

// Recorded calls from the first call named `from` on (inclusive), or empty.
std::vector<recgl::Call> callsFrom(const std::string& from);
