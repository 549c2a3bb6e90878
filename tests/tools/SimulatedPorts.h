#pragma once
// A port directory for the lifetime of the object: FILTARO_PORT_DIR points at
// a fresh directory, and each add() starts an in-process device simulator
// linked there as "COMn". Names without a link do not exist.

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "tools/devsim/DeviceSimulator.h"

class SimulatedPorts {
public:
    SimulatedPorts() : m_env("FILTARO_PORT_DIR", m_dir.path().string()) {}

    DeviceSimulator& add(int n, const DevsimFaults& faults = {}) {
        DevsimOptions options;
        options.linkPath = linkPath(n);
        options.faults = faults;
        auto sim = std::make_unique<DeviceSimulator>(options);
        std::string error;
        if (!sim->start(error)) throw std::runtime_error("simulator: " + error);
        m_sims.push_back(std::move(sim));
        return *m_sims.back();
    }

    // A block handed to the port may still wait in the pty when the call
    // returns, and the purge that opens the next exchange would drop it (the
    // program's pause after a send covers this on a real line). Waits until
    // the device has stored `count` blocks; false if that does not happen.
    static bool waitForBlocks(const DeviceSimulator& device, int count) {
        for (int i = 0; i < 10000 && device.blocksStored() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return device.blocksStored() >= count;
    }

    std::string linkPath(int n) const { return m_dir.file("COM" + std::to_string(n)); }

private:
    ScratchDir m_dir;
    ScopedEnv m_env;
    std::vector<std::unique_ptr<DeviceSimulator>> m_sims;  // stopped before the directory goes
};
