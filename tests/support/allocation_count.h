#pragma once

// Every allocation of the test program that links allocation_count.cpp is
// counted, so that a test can see whether a stretch of code allocated.
long allocations_so_far();
