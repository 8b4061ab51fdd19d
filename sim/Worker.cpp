#include "sim/Worker.h"

#include <unistd.h>

#include <cstring>

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

std::string startWorker(pthread_mutex_t& mutex, void* (*routine)(void*), ThreadCreator create) {
    int error = pthread_mutex_init(&mutex, nullptr);
    if (error != 0) {
        return std::string("Cannot set up the grid lock: ") + strerror(error);
    }
    pthread_attr_t attributes;
    error = pthread_attr_init(&attributes);
    if (error == 0) {
        pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_JOINABLE);
        pthread_t worker;
        error = create(&worker, &attributes, routine, nullptr);
        pthread_attr_destroy(&attributes);
    }
    return error == 0 ? "" : std::string("Cannot start the generation worker: ") + strerror(error);
}
