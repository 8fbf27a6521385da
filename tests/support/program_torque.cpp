#include "support/program_torque.h"

double ProgramTorque(sim::VirtualWheel& wheel) {
  bool autoCenter = wheel.Parameters().autoCenterEnabled;
  // A pure read of the present state: the spring is left out for the reading only.
  wheel.SetAutoCenter(false);
  double torque = wheel.MotorTorque();
  wheel.SetAutoCenter(autoCenter);
  return torque;
}
