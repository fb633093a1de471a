#pragma once
// For a target's own loops over megabytes (making images, working out what to expect,
// checking the result): no coverage tracing there, which costs more than the code under test
// and tells the fuzzer nothing about that code. The sanitizers still check these loops.
#define TAVERO_UNTRACED __attribute__((no_sanitize("coverage")))
