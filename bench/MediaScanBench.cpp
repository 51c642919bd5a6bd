// Cost of asking, as the engine does on every tick, whether a camera or the
// microphone is in use: a walk over every process's open files in the real
// /proc, and over the sound cards' capture streams.
#include <benchmark/benchmark.h>

#include "core/sensors/MeetingDetector.h"
#include "linux/hardware/ProcMediaDevices.h"

namespace pelliwig {
namespace {

// No camera in use is the common case and the dearest: every fd is looked at.
void cameraScan(benchmark::State& state) {
    const ProcMediaDevices devices;
    for (auto _ : state) benchmark::DoNotOptimize(devices.anyVideoDeviceOpen());
}
BENCHMARK(cameraScan)->Unit(benchmark::kMicrosecond);

void captureScan(benchmark::State& state) {
    const ProcMediaDevices devices;
    for (auto _ : state) benchmark::DoNotOptimize(devices.anyCaptureRunning());
}
BENCHMARK(captureScan)->Unit(benchmark::kMicrosecond);

// One tick's question, camera first and then the microphone.
void inCall(benchmark::State& state) {
    const ProcMediaDevices devices;
    const MeetingDetector detector(devices);
    for (auto _ : state) benchmark::DoNotOptimize(detector.inCall());
}
BENCHMARK(inCall)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelliwig
