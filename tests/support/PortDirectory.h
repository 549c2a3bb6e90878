#pragma once
// A port directory for the lifetime of the object: FILTARO_PORT_DIR points at
// a fresh directory, and attach() starts an in-process device simulator on a
// pty there as "COMn". Names without a simulator do not exist. This is how the
// Qt suites start a simulator (ProgramRun::attachPtyDevice).

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "simulator/DevsimMemory.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "tools/devsim/DeviceSimulator.h"

class PortDirectory {
public:
    PortDirectory() : m_env("FILTARO_PORT_DIR", m_dir.path().string()) {}

    // A device on COMn; its memory holds the presets of `presets`, or those
    // of a factory-fresh device.
    DeviceSimulator& attach(int n, const ParameterImage* presets = nullptr) {
        DevsimOptions options;
        options.linkPath = m_dir.file("COM" + std::to_string(n));
        if (presets) {
            options.memoryFile = m_dir.file("memory-COM" + std::to_string(n) + ".bin");
            if (!saveDevsimMemory(options.memoryFile, encodeWireImage(*presets))) {
                throw std::runtime_error("device memory not written");
            }
        }
        auto device = std::make_unique<DeviceSimulator>(options);
        std::string error;
        if (!device->start(error)) {
            throw std::runtime_error("simulator: " + error);
        }
        m_devices.push_back(std::move(device));
        return *m_devices.back();
    }

private:
    ScratchDir m_dir;
    ScopedEnv m_env;
    std::vector<std::unique_ptr<DeviceSimulator>> m_devices;  // stopped before the directory goes
};
