#include "sim/Worker.h"

#include <unistd.h>

#include "sim/Generation.h"

void generationPass(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones) {
    pthread_mutex_lock(&mutex);
    computeNextGeneration(cells, zones);
    pthread_mutex_unlock(&mutex);
}

void pauseBetweenPasses() {
    sleep(WORKER_PAUSE_SECONDS);
}

void workerTurn(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones,
                const std::function<void()>& pause) {
    generationPass(cells, mutex, zones);
    pause();
}

void runWorker(CellGrid& cells, pthread_mutex_t& mutex, const Zones& zones) {
    for (;;) {
        workerTurn(cells, mutex, zones, pauseBetweenPasses);
    }
}
