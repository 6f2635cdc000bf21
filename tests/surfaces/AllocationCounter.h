// Counts every allocation of the surface test program, for the tests of work that must make none
// (or none per sample).
#pragma once

// Allocations through operator new since the program started.
long AllocationCount();
