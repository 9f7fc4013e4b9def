// The comparison of a condition and the percentage helper shared by the
// status conditions and operations.
#pragma once

#include <cstdint>

// v against c by operator 0..7 (=, !=, >=, <=, >, <, multiple, not multiple).
int CompareValues(int32_t v, int32_t c, int nOperator);
// a x b / 100 rounded half away from zero.
int32_t PercentOf(int32_t a, int32_t b);
