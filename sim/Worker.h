// The generation worker: a thread that computes a generation every two seconds under the
// grid lock. It never commits; the frame does (see drawAndCommit).
#pragma once

#include <pthread.h>

#include "sim/Cell.h"

constexpr unsigned WORKER_PAUSE_SECONDS = 2;

// Lock, one generation pass, unlock.
void generationPass(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones);

// Passes forever, sleeping between them without the lock.
[[noreturn]] void runWorker(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones);
