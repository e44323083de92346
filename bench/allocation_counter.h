// Counts the process's heap allocations (operator new is replaced).
#ifndef T740_BENCH_ALLOCATION_COUNTER_H
#define T740_BENCH_ALLOCATION_COUNTER_H

long AllocationCount();

#endif
