// The generation worker: a thread that computes a generation every two seconds under the
// grid lock. It never commits; the frame does (see drawAndCommit).
#pragma once

#include <pthread.h>

#include <functional>
#include <string>

#include "sim/Cell.h"

constexpr unsigned WORKER_PAUSE_SECONDS = 2;

// Lock, one generation pass, unlock.
void generationPass(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones);

// The program's pause between two passes: WORKER_PAUSE_SECONDS of sleep.
void pauseBetweenPasses();

// One turn of the worker: a generation pass, then the pause, taken without the lock so that
// frames go on meanwhile.
void workerTurn(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones,
                const std::function<void()>& pause);

// Turns forever, with the program's pause.
[[noreturn]] void runWorker(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones);

using ThreadCreator = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

// Sets up the grid lock, then starts the worker (joinable, never joined) on `routine`
// through `create`, which a test may make fail. Empty when both succeed; otherwise the
// step that failed and the system's reason.
std::string startWorker(pthread_mutex_t& mutex, void* (*routine)(void*),
                        ThreadCreator create = pthread_create);
