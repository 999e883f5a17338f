#pragma once
// A property the fuzz target holds on every input. A broken property aborts with its text, so libFuzzer
// keeps the input as a crash and prints where it failed; sanitizers report the rest.
#include <cstdio>
#include <cstdlib>

#define VELMARO_FUZZ_CHECK(condition) \
  ((condition) ? void() : (std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition), std::abort()))
