#include "sim/Worker.h"

#include <unistd.h>

#include "sim/Generation.h"

void generationPass(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones) {
    pthread_mutex_lock(&mutex);
    computeNextGeneration(cells, zones);
    pthread_mutex_unlock(&mutex);
}

void runWorker(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones) {
    for (;;) {
        generationPass(cells, mutex, zones);
        sleep(WORKER_PAUSE_SECONDS);
    }
}
