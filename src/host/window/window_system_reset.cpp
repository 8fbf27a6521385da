#include "host/window/device_notification.h"
#include "host/window/dialog_manager.h"
#include "host/window/focus.h"
#include "host/window/message_queue.h"
#include "host/window/records.h"
#include "host/window/window_procedure.h"

namespace host {

void ResetWindowSystem() {
  window::ResetWindowTable();
  window::ResetClassStorage();
  window::ResetMessageQueue();
  window::ResetFocus();
  window::ResetDialogManager();
  window::ResetDeviceNotifications();
  window::ResetRecords();
}

}  // namespace host
