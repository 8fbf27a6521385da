// vantrel_dinput_probe: makes the program's DirectInput calls on one wheel, in the program's
// order and in the situations it meets (before and after acquiring, after a reset, after
// unacquiring), and prints every answer: a result code, a status, a flag word. Run once on Wine's
// own DirectInput with the HID wheel and once on the virtual wheel DLL, the two outputs differ
// exactly where the two implementations answer differently. tools/dinput_probe/compare.sh does both.
//
//   vantrel_dinput_probe "DEVICE PRODUCT NAME"
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* CodeName(HRESULT code) {
  switch (static_cast<unsigned long>(code)) {
    case DI_OK: return "DI_OK";
    case S_FALSE: return "S_FALSE/DI_NOEFFECT/DI_PROPNOEFFECT";
    case DI_POLLEDDEVICE: return "DI_POLLEDDEVICE";
    case DI_DOWNLOADSKIPPED: return "DI_DOWNLOADSKIPPED";
    case DI_EFFECTRESTARTED: return "DI_EFFECTRESTARTED";
    case DI_TRUNCATED: return "DI_TRUNCATED";
    case DI_TRUNCATEDANDRESTARTED: return "DI_TRUNCATEDANDRESTARTED";
    case static_cast<unsigned long>(DIERR_INVALIDPARAM): return "DIERR_INVALIDPARAM";
    case static_cast<unsigned long>(DIERR_NOTFOUND): return "DIERR_NOTFOUND";
    case static_cast<unsigned long>(DIERR_UNSUPPORTED): return "DIERR_UNSUPPORTED/E_NOTIMPL";
    case static_cast<unsigned long>(DIERR_NOTACQUIRED): return "DIERR_NOTACQUIRED";
    case static_cast<unsigned long>(DIERR_INPUTLOST): return "DIERR_INPUTLOST";
    case static_cast<unsigned long>(DIERR_ACQUIRED): return "DIERR_ACQUIRED";
    case static_cast<unsigned long>(DIERR_NOTEXCLUSIVEACQUIRED): return "DIERR_NOTEXCLUSIVEACQUIRED";
    case static_cast<unsigned long>(DIERR_NOTDOWNLOADED): return "DIERR_NOTDOWNLOADED";
    case static_cast<unsigned long>(DIERR_INCOMPLETEEFFECT): return "DIERR_INCOMPLETEEFFECT";
    case static_cast<unsigned long>(DIERR_EFFECTPLAYING): return "DIERR_EFFECTPLAYING";
    case static_cast<unsigned long>(DIERR_DEVICEFULL): return "DIERR_DEVICEFULL";
    case static_cast<unsigned long>(DIERR_NOTINITIALIZED): return "DIERR_NOTINITIALIZED";
    case static_cast<unsigned long>(DIERR_OTHERAPPHASPRIO): return "DIERR_OTHERAPPHASPRIO";
    case static_cast<unsigned long>(DIERR_DEVICENOTREG): return "DIERR_DEVICENOTREG";
    case static_cast<unsigned long>(E_POINTER): return "E_POINTER";
    default: return "?";
  }
}

void Print(const char* call, HRESULT code, const std::string& detail = {}) {
  std::printf("%-58s 0x%08lx %s%s%s\n", call, static_cast<unsigned long>(code), CodeName(code),
              detail.empty() ? "" : "  ", detail.c_str());
  std::fflush(stdout);
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
  return text;
}

struct Found {
  const char* name;
  GUID instance;
  bool found;
};

BOOL CALLBACK FindDevice(const DIDEVICEINSTANCEA* instance, void* context) {
  auto* found = static_cast<Found*>(context);
  if (std::strcmp(instance->tszProductName, found->name) != 0) return DIENUM_CONTINUE;
  found->instance = instance->guidInstance;
  found->found = true;
  return DIENUM_STOP;
}

BOOL CALLBACK CountActuators(const DIDEVICEOBJECTINSTANCEA* object, void* context) {
  if (object->dwFlags & DIDOI_FFACTUATOR) ++*static_cast<DWORD*>(context);
  return DIENUM_CONTINUE;
}

BOOL CALLBACK CountObjects(const DIDEVICEOBJECTINSTANCEA*, void* context) {
  ++*static_cast<DWORD*>(context);
  return DIENUM_CONTINUE;
}

BOOL CALLBACK CountEffects(const DIEFFECTINFOA*, void* context) {
  ++*static_cast<DWORD*>(context);
  return DIENUM_CONTINUE;
}

BOOL CALLBACK CountCreated(IDirectInputEffect*, void* context) {
  ++*static_cast<DWORD*>(context);
  return DIENUM_CONTINUE;
}

DIPROPDWORD DwordProperty(DWORD value) {
  DIPROPDWORD property{};
  property.diph.dwSize = sizeof(property);
  property.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  property.diph.dwHow = DIPH_DEVICE;
  property.dwData = value;
  return property;
}

class Probe {
 public:
  Probe(IDirectInputDevice8A* device, HWND window) : device_(device), window_(window) {}

  void Run() {
    Configure();
    Report("before acquiring");
    CreateEffects();
    EffectCalls("created, not acquired");
    Print("Acquire", device_->Acquire());
    Print("Acquire again", device_->Acquire());
    Read("acquired");
    Report("acquired");
    EffectCalls("acquired");
    UpdateAndPlay();
    Print("SendForceFeedbackCommand(DISFFC_RESET)", device_->SendForceFeedbackCommand(DISFFC_RESET));
    EffectStatus("after reset");
    Print("constant: SetParameters(DIEP_TYPESPECIFICPARAMS) after reset", Magnitude(2000));
    EffectStatus("after the update that followed the reset");
    Print("Unacquire", device_->Unacquire());
    Print("Unacquire again", device_->Unacquire());
    Read("unacquired");
    Report("unacquired");
    EffectCalls("unacquired");
    for (IDirectInputEffect*& effect : effects_) {
      if (effect != nullptr) effect->Release();
      effect = nullptr;
    }
  }

 private:
  void Configure() {
    Print("SetDataFormat(c_dfDIJoystick)", device_->SetDataFormat(&c_dfDIJoystick));
    Print("SetCooperativeLevel(exclusive, background)",
          device_->SetCooperativeLevel(window_, DISCL_EXCLUSIVE | DISCL_BACKGROUND));
    DIPROPDWORD off = DwordProperty(DIPROPAUTOCENTER_OFF);
    Print("SetProperty(DIPROP_AUTOCENTER, off)", device_->SetProperty(DIPROP_AUTOCENTER, &off.diph));
    DIPROPDWORD gain = DwordProperty(10000);
    Print("SetProperty(DIPROP_FFGAIN, 10000)", device_->SetProperty(DIPROP_FFGAIN, &gain.diph));
    DIPROPDWORD buffer = DwordProperty(10);
    Print("SetProperty(DIPROP_BUFFERSIZE, 10)", device_->SetProperty(DIPROP_BUFFERSIZE, &buffer.diph));
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(range);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwHow = DIPH_BYOFFSET;
    range.diph.dwObj = DIJOFS_X;
    HRESULT read = device_->GetProperty(DIPROP_LOGICALRANGE, &range.diph);
    Print("GetProperty(DIPROP_LOGICALRANGE, X)", read,
          std::to_string(range.lMin) + ".." + std::to_string(range.lMax));
    range.diph.dwHow = DIPH_DEVICE;
    range.diph.dwObj = 0;
    Print("SetProperty(DIPROP_RANGE, device)", device_->SetProperty(DIPROP_RANGE, &range.diph));
    HRESULT enumerated = device_->EnumObjects(CountActuators, &actuators_, DIDFT_AXIS);
    Print("EnumObjects(DIDFT_AXIS)", enumerated, "actuators " + std::to_string(actuators_));
    if (actuators_ > 2) actuators_ = 2;
    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof(info);
    HRESULT got = device_->GetDeviceInfo(&info);
    Print("GetDeviceInfo", got, "dwDevType " + Hex(info.dwDevType));
  }

  // The device-level calls of the report.
  void Report(const char* when) {
    std::string prefix = std::string("[") + when + "] ";
    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    HRESULT result = device_->GetCapabilities(&caps);
    Print((prefix + "GetCapabilities").c_str(), result,
          "dwFlags " + Hex(caps.dwFlags) + " sample period " + std::to_string(caps.dwFFSamplePeriod) +
              " min time " + std::to_string(caps.dwFFMinTimeResolution) + " firmware " +
              std::to_string(caps.dwFirmwareRevision));
    DWORD objects = 0;
    result = device_->EnumObjects(CountObjects, &objects, DIDFT_ALL);
    Print((prefix + "EnumObjects(DIDFT_ALL)").c_str(), result, "objects " + std::to_string(objects));
    const struct {
      const GUID& property;
      const char* name;
    } properties[] = {{DIPROP_AUTOCENTER, "DIPROP_AUTOCENTER"},
                      {DIPROP_AXISMODE, "DIPROP_AXISMODE"},
                      {DIPROP_BUFFERSIZE, "DIPROP_BUFFERSIZE"},
                      {DIPROP_FFGAIN, "DIPROP_FFGAIN"},
                      {DIPROP_FFLOAD, "DIPROP_FFLOAD"}};
    for (const auto& p : properties) {
      DIPROPDWORD value = DwordProperty(0xDEADBEEF);
      HRESULT got = device_->GetProperty(p.property, &value.diph);
      Print((prefix + "GetProperty(" + p.name + ")").c_str(), got, SUCCEEDED(got) ? std::to_string(value.dwData) : "");
    }
    DWORD state = 0xDEADBEEF;
    HRESULT got = device_->GetForceFeedbackState(&state);
    Print((prefix + "GetForceFeedbackState").c_str(), got, SUCCEEDED(got) ? Hex(state) : "");
    DWORD effects = 0;
    result = device_->EnumEffects(CountEffects, &effects, DIEFT_ALL);
    Print((prefix + "EnumEffects(DIEFT_ALL)").c_str(), result, "types " + std::to_string(effects));
    DWORD created = 0;
    result = device_->EnumCreatedEffectObjects(CountCreated, &created, 0);
    Print((prefix + "EnumCreatedEffectObjects").c_str(), result, "effects " + std::to_string(created));
  }

  void Read(const char* when) {
    std::string prefix = std::string("[") + when + "] ";
    Print((prefix + "Poll").c_str(), device_->Poll());
    DIJOYSTATE state{};
    Print((prefix + "GetDeviceState").c_str(), device_->GetDeviceState(sizeof(state), &state));
  }

  void CreateEffects() {
    const GUID* types[] = {&GUID_ConstantForce, &GUID_Spring, &GUID_Damper, &GUID_Inertia, &GUID_Friction};
    const char* names[] = {"constant", "spring", "damper", "inertia", "friction"};
    for (int slot = 0; slot < 5; ++slot) {
      DIEFFECT effect = Effect(slot);
      HRESULT result = device_->CreateEffect(*types[slot], &effect, &effects_[slot], nullptr);
      Print((std::string("CreateEffect(") + names[slot] + ")").c_str(), result);
    }
  }

  DIEFFECT Effect(int slot) {
    DIEFFECT effect{};
    effect.dwSize = sizeof(effect);
    effect.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
    effect.dwDuration = INFINITE;
    effect.dwGain = 10000;
    effect.dwTriggerButton = DIEB_NOTRIGGER;
    effect.cAxes = actuators_;
    effect.rgdwAxes = axes_;
    effect.rglDirection = direction_;
    if (slot == 0) {
      effect.cbTypeSpecificParams = sizeof(constant_);
      effect.lpvTypeSpecificParams = &constant_;
    } else {
      effect.cbTypeSpecificParams = actuators_ * sizeof(DICONDITION);
      effect.lpvTypeSpecificParams = conditions_;
    }
    return effect;
  }

  HRESULT Magnitude(LONG magnitude) {
    if (effects_[0] == nullptr) return E_POINTER;
    constant_.lMagnitude = magnitude;
    DIEFFECT effect = Effect(0);
    return effects_[0]->SetParameters(&effect, DIEP_TYPESPECIFICPARAMS);
  }

  void EffectStatus(const char* when) {
    if (effects_[0] == nullptr) return;
    DWORD status = 0xDEADBEEF;
    HRESULT result = effects_[0]->GetEffectStatus(&status);
    Print((std::string("[") + when + "] constant: GetEffectStatus").c_str(), result,
          SUCCEEDED(result) ? Hex(status) : "");
  }

  // What the effect update does with an effect in each situation, on the constant force.
  void EffectCalls(const char* when) {
    if (effects_[0] == nullptr) return;
    std::string prefix = std::string("[") + when + "] constant: ";
    EffectStatus(when);
    Print((prefix + "SetParameters(DIEP_TYPESPECIFICPARAMS)").c_str(), Magnitude(1000));
    Print((prefix + "Start(1, 0)").c_str(), effects_[0]->Start(1, 0));
    EffectStatus(when);
    Print((prefix + "Stop").c_str(), effects_[0]->Stop());
    Print((prefix + "Download").c_str(), effects_[0]->Download());
    DIEFFESCAPE escape{};
    escape.dwSize = sizeof(escape);
    Print((prefix + "Escape").c_str(), effects_[0]->Escape(&escape));
    float led[5] = {};
    DWORD header[2] = {20, 1};
    std::memcpy(led, header, sizeof(header));
    escape.lpvInBuffer = led;
    escape.cbInBuffer = 20;
    Print((std::string("[") + when + "] device: Escape(LED record)").c_str(), device_->Escape(&escape));
  }

  void UpdateAndPlay() {
    Print("constant: SetParameters(magnitude 3000)", Magnitude(3000));
    Print("constant: Start(1, 0)", effects_[0] ? effects_[0]->Start(1, 0) : E_POINTER);
    Sleep(100);
    EffectStatus("playing");
    DWORD state = 0;
    HRESULT got = device_->GetForceFeedbackState(&state);
    Print("[playing] GetForceFeedbackState", got, SUCCEEDED(got) ? Hex(state) : "");
    if (effects_[1] != nullptr) {
      conditions_[0].lOffset = 3000;
      conditions_[0].lPositiveCoefficient = conditions_[0].lNegativeCoefficient = 10000;
      conditions_[0].dwPositiveSaturation = conditions_[0].dwNegativeSaturation = 10000;
      DIEFFECT effect = Effect(1);
      Print("spring: SetParameters(DIEP_TYPESPECIFICPARAMS | DIEP_START)",
            effects_[1]->SetParameters(&effect, DIEP_TYPESPECIFICPARAMS | DIEP_START));
      Print("spring: SetParameters(DIEP_DIRECTION)", effects_[1]->SetParameters(&effect, DIEP_DIRECTION));
      LONG outOfRange = 20000;
      conditions_[0].lOffset = outOfRange;
      Print("spring: SetParameters(offset 20000)", effects_[1]->SetParameters(&effect, DIEP_TYPESPECIFICPARAMS));
      conditions_[0].lOffset = 0;
      Print("spring: Stop", effects_[1]->Stop());
    }
    Print("constant: Stop", effects_[0] ? effects_[0]->Stop() : E_POINTER);
    Print("constant: Unload", effects_[0] ? effects_[0]->Unload() : E_POINTER);
    EffectStatus("unloaded");
  }

  IDirectInputDevice8A* device_;
  HWND window_;
  DWORD actuators_ = 0;
  IDirectInputEffect* effects_[5] = {};
  DWORD axes_[2] = {DIJOFS_X, DIJOFS_Y};
  LONG direction_[2] = {1, 0};
  DICONSTANTFORCE constant_{};
  DICONDITION conditions_[2]{};
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantrel_dinput_probe \"DEVICE PRODUCT NAME\"\n");
    return 2;
  }
  HWND window = CreateWindowExA(0, "STATIC", "vantrel_dinput_probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  IDirectInput8A* directInput = nullptr;
  HRESULT result = DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                      reinterpret_cast<void**>(&directInput), nullptr);
  Print("DirectInput8Create", result);
  if (FAILED(result)) return 1;
  Found found{argv[1], {}, false};
  // Every detail printed is read after its call: an argument list has no order of evaluation.
  result = directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, FindDevice, &found,
                                    DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
  Print("EnumDevices(DI8DEVCLASS_GAMECTRL, force feedback)", result, found.found ? "found" : "not found");
  if (!found.found) return 1;
  IDirectInputDevice8A* device = nullptr;
  Print("CreateDevice", directInput->CreateDevice(found.instance, &device, nullptr));
  if (device == nullptr) return 1;
  Probe(device, window).Run();
  device->Release();
  directInput->Release();
  DestroyWindow(window);
  return 0;
}
