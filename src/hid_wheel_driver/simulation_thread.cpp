#include "hid_wheel_driver/simulation_thread.h"

#include "hid_wheel_driver/read_queue.h"
#include "pid_wheel/input_report.h"

namespace hid_wheel_driver {

namespace {

constexpr LONGLONG periodIn100ns = 10000;  // 1 ms
// After a stall (a debugger, a suspended prefix) the wheel takes up at most this much time at
// once instead of integrating the whole gap.
constexpr double longestStepSeconds = 0.05;

void CompleteRead(PIRP irp, const pid_wheel::InputReport& report) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  ULONG length = stack->Parameters.DeviceIoControl.OutputBufferLength;
  if (length < report.size()) {
    irp->IoStatus.Status = STATUS_BUFFER_TOO_SMALL;
    irp->IoStatus.Information = 0;
  } else {
    RtlCopyMemory(irp->UserBuffer, report.data(), report.size());
    irp->IoStatus.Status = STATUS_SUCCESS;
    irp->IoStatus.Information = report.size();
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
    wheel.wheel.Advance(seconds);
    pid_wheel::InputReport report = pid_wheel::MakeInputReport(wheel.wheel);
    PIRP read = TakeQueuedRead(wheel);
    KeReleaseSpinLock(&wheel.lock, irql);
    if (read != nullptr) CompleteRead(read, report);
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
