// The transfers as the user waits for them: a whole receive and a whole send
// (without the pause after it) over a pseudo-terminal against the simulated
// device answering at full speed, and the wire coding on its own.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "device/DeviceLink.h"
#include "device/PresetTransfer.h"
#include "device/SerialPort.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "tools/devsim/DeviceSimulator.h"

namespace {

// The dump files go to a directory of their own for the run.
class BenchDirectory {
public:
    BenchDirectory() : m_previous(std::filesystem::current_path()) {
        m_path = std::filesystem::temp_directory_path() / "filtaro-bench-transfer";
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
    }
    ~BenchDirectory() {
        std::error_code ec;
        std::filesystem::current_path(m_previous, ec);
        std::filesystem::remove_all(m_path, ec);
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// Starts the simulated device and opens the port on its pty; skips the
// benchmark with the reason when either fails.
bool connect(benchmark::State& state, DeviceSimulator& device, SerialPort& port) {
    std::string error;
    if (!device.start(error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    if (port.open(device.ptyPath(), 9600) != 0) {
        state.SkipWithError("the pty does not open");
        return false;
    }
    return true;
}

void BM_ReceiveAllPresetsOverPty(benchmark::State& state) {
    BenchDirectory dir;
    DeviceSimulator device(DevsimOptions{});
    SerialPort port;
    if (!connect(state, device, port)) {
        return;
    }
    ParameterImage image;
    applyDefaults(image);
    for (auto _ : state) {
        if (receiveAllPresets(image, port) != 0) {
            state.SkipWithError("receive failed");
            break;
        }
    }
}
BENCHMARK(BM_ReceiveAllPresetsOverPty)->Unit(benchmark::kMillisecond);

void BM_SendAllPresetsOverPty(benchmark::State& state) {
    BenchDirectory dir;
    DeviceSimulator device(DevsimOptions{});
    SerialPort port;
    if (!connect(state, device, port)) {
        return;
    }
    ParameterImage image;
    applyDefaults(image);
    int sent = 0;
    for (auto _ : state) {
        if (sendAllPresets(image, port, SendPause::None) != 0) {
            state.SkipWithError("send failed");
            break;
        }
        // The next purge must not cut the block short: wait until the device has it.
        if (!device.waitForBlocks(++sent)) {
            state.SkipWithError("the device did not store the block");
            break;
        }
    }
}
BENCHMARK(BM_SendAllPresetsOverPty)->Unit(benchmark::kMillisecond);

void BM_EncodeDecodeWireImage(benchmark::State& state) {
    ParameterImage image;
    applyDefaults(image);
    for (auto _ : state) {
        const WireImage wire = encodeWireImage(image);
        decodeWireImage(wire, image);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_EncodeDecodeWireImage);

}  // namespace
