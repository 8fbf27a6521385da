#include "hid_wheel_driver/read_queue.h"

namespace hid_wheel_driver {

namespace {

void CompleteWith(PIRP irp, NTSTATUS status) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = 0;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
}

// Runs with the cancel spin lock held. The request is in the queue unless TakeQueuedRead has
// just taken it: that one cleared the cancel routine first, so we are not called for it.
void CancelQueuedRead(PDEVICE_OBJECT device, PIRP irp) {
  IoReleaseCancelSpinLock(irp->CancelIrql);
  WheelDevice& wheel = *WheelOf(device);
  KIRQL irql;
  KeAcquireSpinLock(&wheel.lock, &irql);
  RemoveEntryList(&irp->Tail.Overlay.ListEntry);
  KeReleaseSpinLock(&wheel.lock, irql);
  CompleteWith(irp, STATUS_CANCELLED);
}

}  // namespace

NTSTATUS QueueRead(WheelDevice& wheel, PIRP irp) {
  KIRQL irql;
  KeAcquireSpinLock(&wheel.lock, &irql);
  IoSetCancelRoutine(irp, CancelQueuedRead);
  if (irp->Cancel && IoSetCancelRoutine(irp, nullptr) != nullptr) {
    KeReleaseSpinLock(&wheel.lock, irql);
    CompleteWith(irp, STATUS_CANCELLED);
    return STATUS_CANCELLED;
  }
  IoMarkIrpPending(irp);
  InsertTailList(&wheel.pendingReads, &irp->Tail.Overlay.ListEntry);
  KeReleaseSpinLock(&wheel.lock, irql);
  return STATUS_PENDING;
}

PIRP TakeQueuedRead(WheelDevice& wheel) {
  for (PLIST_ENTRY entry = wheel.pendingReads.Flink; entry != &wheel.pendingReads; entry = entry->Flink) {
    PIRP irp = CONTAINING_RECORD(entry, IRP, Tail.Overlay.ListEntry);
    // A null previous routine means the cancel routine is already on its way: it will take
    // the request out of the queue itself.
    if (IoSetCancelRoutine(irp, nullptr) == nullptr) continue;
    RemoveEntryList(entry);
    return irp;
  }
  return nullptr;
}

void FailQueuedReads(WheelDevice& wheel, NTSTATUS status) {
  for (;;) {
    KIRQL irql;
    KeAcquireSpinLock(&wheel.lock, &irql);
    PIRP irp = TakeQueuedRead(wheel);
    KeReleaseSpinLock(&wheel.lock, irql);
    if (irp == nullptr) return;
    CompleteWith(irp, status);
  }
}

}  // namespace hid_wheel_driver
