#include "hid_wheel_driver/simulation_thread.h"

#include "hid_wheel_driver/read_queue.h"

namespace hid_wheel_driver {

namespace {

constexpr LONGLONG periodIn100ns = 10000;  // 1 ms
// After a stall (a debugger, a suspended prefix) the wheel takes up at most this much time at
// once instead of integrating the whole gap.
constexpr double longestStepSeconds = 0.05;

// The class driver reads whole reports: `Information` is the length of the one returned.
void CompleteRead(PIRP irp, const uint8_t* report, size_t length) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  if (stack->Parameters.DeviceIoControl.OutputBufferLength < length) {
    irp->IoStatus.Status = STATUS_BUFFER_TOO_SMALL;
    irp->IoStatus.Information = 0;
  } else {
    RtlCopyMemory(irp->UserBuffer, report, length);
    irp->IoStatus.Status = STATUS_SUCCESS;
    irp->IoStatus.Information = length;
  }
  IoCompleteRequest(irp, IO_NO_INCREMENT);
}

void NTAPI RunSimulation(PVOID context) {
  WheelDevice& wheel = *static_cast<WheelDevice*>(context);
  LARGE_INTEGER frequency;
  LONGLONG last = KeQueryPerformanceCounter(&frequency).QuadPart;
  LARGE_INTEGER period;
  period.QuadPart = -periodIn100ns;
  while (KeWaitForSingleObject(&wheel.stopSimulation, Executive, KernelMode, FALSE, &period) == STATUS_TIMEOUT) {
    LONGLONG now = KeQueryPerformanceCounter(nullptr).QuadPart;
    double seconds = static_cast<double>(now - last) / static_cast<double>(frequency.QuadPart);
    last = now;
    if (seconds > longestStepSeconds) seconds = longestStepSeconds;

    KIRQL irql;
    KeAcquireSpinLock(&wheel.lock, &irql);
    wheel.device.Advance(seconds);
    PIRP read = TakeQueuedRead(wheel);
    uint8_t report[pid_wheel::inputReportLength];
    size_t length = read != nullptr ? wheel.device.NextInputReport(report) : 0;
    KeReleaseSpinLock(&wheel.lock, irql);
    if (read != nullptr) CompleteRead(read, report, length);
  }
  PsTerminateSystemThread(STATUS_SUCCESS);
}

}  // namespace

NTSTATUS StartSimulation(WheelDevice& wheel) {
  if (wheel.simulationThread != nullptr) return STATUS_SUCCESS;
  KeClearEvent(&wheel.stopSimulation);
  return PsCreateSystemThread(&wheel.simulationThread, THREAD_ALL_ACCESS, nullptr, nullptr, nullptr,
                              RunSimulation, &wheel);
}

void StopSimulation(WheelDevice& wheel) {
  if (wheel.simulationThread == nullptr) return;
  KeSetEvent(&wheel.stopSimulation, IO_NO_INCREMENT, FALSE);
  ZwWaitForSingleObject(wheel.simulationThread, FALSE, nullptr);
  ZwClose(wheel.simulationThread);
  wheel.simulationThread = nullptr;
}

}  // namespace hid_wheel_driver
