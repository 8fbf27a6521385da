// Effects: the types a device offers, CreateEffect's checks, parameters stored and read
// back, download and playback (with the virtual clock), the device's force-feedback state
// and commands, and escapes.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/dinput_test_fixture.h"

namespace dinput_test {
namespace {

class EffectTest : public DirectInputTest {
 protected:
  void SetUp() override {
    DirectInputTest::SetUp();
    wheel = host::AttachDevice(host::VirtualWheelDescription());
    ASSERT_NE(wheel, host::noDevice);
  }

  static DWORD Status(IDirectInputEffect* effect) {
    DWORD status = 0xDEADBEEF;
    EXPECT_EQ(effect->GetEffectStatus(&status), DI_OK);
    return status;
  }
  // GetEffectStatus's result where it fails; the flags it leaves must read 0 then.
  static HRESULT StatusFailure(IDirectInputEffect* effect) {
    DWORD status = 0xDEADBEEF;
    HRESULT result = effect->GetEffectStatus(&status);
    EXPECT_EQ(status, 0u) << "flags left by a failed GetEffectStatus";
    return result;
  }
  static DWORD FeedbackState(IDirectInputDevice8A* device) {
    DWORD state = 0;
    EXPECT_EQ(device->GetForceFeedbackState(&state), DI_OK);
    return state;
  }

  host::DeviceId wheel = host::noDevice;
};

// --- The effect types

struct InfoSeen {
  std::vector<std::string> names;
  std::vector<DIEFFECTINFOA> infos;
  int stopAfter = 0;
};

BOOL CALLBACK CollectEffectInfo(LPCDIEFFECTINFOA info, LPVOID context) {
  auto* seen = static_cast<InfoSeen*>(context);
  seen->names.push_back(info->tszName);
  seen->infos.push_back(*info);
  return static_cast<int>(seen->names.size()) == seen->stopAfter ? DIENUM_STOP : DIENUM_CONTINUE;
}

TEST_F(EffectTest, TheWheelOffersFiveEffectTypes) {
  ComPtr<IDirectInputDevice8A> device = Open(wheel);
  InfoSeen all;
  ASSERT_EQ(device->EnumEffects(CollectEffectInfo, &all, DIEFT_ALL), DI_OK);
  EXPECT_EQ(all.names, (std::vector<std::string>{"Constant Force", "Spring", "Damper", "Inertia", "Friction"}));
  const GUID* guids[] = {&GUID_ConstantForce, &GUID_Spring, &GUID_Damper, &GUID_Inertia, &GUID_Friction};
  for (size_t i = 0; i < all.infos.size(); ++i) {
    const DIEFFECTINFOA& info = all.infos[i];
    EXPECT_EQ(info.dwSize, sizeof(DIEFFECTINFOA));
    EXPECT_TRUE(IsEqualGUID(info.guid, *guids[i])) << all.names[i];
    EXPECT_EQ(DIEFT_GETTYPE(info.dwEffType), i == 0 ? DIEFT_CONSTANTFORCE : DIEFT_CONDITION) << all.names[i];
    EXPECT_TRUE(info.dwStaticParams & DIEP_TYPESPECIFICPARAMS);
    EXPECT_TRUE(info.dwStaticParams & DIEP_AXES);
    EXPECT_EQ(info.dwDynamicParams & ~info.dwStaticParams, 0u) << "dynamic parameters are a subset";
    EXPECT_TRUE(info.dwDynamicParams & DIEP_TYPESPECIFICPARAMS) << "forces change while playing";
    EXPECT_EQ(bool(info.dwStaticParams & DIEP_ENVELOPE), i == 0) << "only the constant force has an envelope";
    EXPECT_EQ(bool(info.dwEffType & DIEFT_POSNEGCOEFFICIENTS), i != 0);
  }

  InfoSeen conditions;
  ASSERT_EQ(device->EnumEffects(CollectEffectInfo, &conditions, DIEFT_CONDITION), DI_OK);
  EXPECT_EQ(conditions.names, (std::vector<std::string>{"Spring", "Damper", "Inertia", "Friction"}));
  InfoSeen none;
  ASSERT_EQ(device->EnumEffects(CollectEffectInfo, &none, DIEFT_PERIODIC), DI_OK);
  EXPECT_TRUE(none.names.empty());
  InfoSeen first;
  first.stopAfter = 1;
  ASSERT_EQ(device->EnumEffects(CollectEffectInfo, &first, DIEFT_ALL), DI_OK);
  EXPECT_EQ(first.names, std::vector<std::string>{"Constant Force"});

  DIEFFECTINFOA info{};
  info.dwSize = sizeof(info);
  ASSERT_EQ(device->GetEffectInfo(&info, GUID_Damper), DI_OK);
  EXPECT_EQ(std::string(info.tszName), "Damper");
  EXPECT_EQ(device->GetEffectInfo(&info, GUID_Sine), DIERR_DEVICENOTREG);

  host::DeviceId keyboard = host::AttachDevice(host::KeyboardDescription());
  ComPtr<IDirectInputDevice8A> keys = Open(keyboard);
  InfoSeen keyboardEffects;
  ASSERT_EQ(keys->EnumEffects(CollectEffectInfo, &keyboardEffects, DIEFT_ALL), DI_OK);
  EXPECT_TRUE(keyboardEffects.names.empty());
  EXPECT_EQ(keys->GetEffectInfo(&info, GUID_ConstantForce), DIERR_DEVICENOTREG);
}

// --- CreateEffect's checks

struct CreateCase {
  const char* what;
  const GUID* type;
  std::function<void(EffectBlock&)> build;
  HRESULT expected;
};

TEST_F(EffectTest, CreateEffectChecksTheParameters) {
  const DICONDITION spring = MakeCondition(0, 5000);
  const CreateCase cases[] = {
      {"constant force on X", &GUID_ConstantForce, [](EffectBlock& b) { b.Constant(3000); }, DI_OK},
      {"constant force on X and Y", &GUID_ConstantForce, [](EffectBlock& b) { b.Constant(3000, 2, 1, 1); }, DI_OK},
      {"constant force block of 8 bytes", &GUID_ConstantForce,
       [](EffectBlock& b) { b.Constant(3000).cbTypeSpecificParams = 8; }, DIERR_INVALIDPARAM},
      {"spring, one axis, 24 bytes", &GUID_Spring, [&](EffectBlock& b) { b.Condition(spring); }, DI_OK},
      {"spring, two axes, one block of 24", &GUID_Spring, [&](EffectBlock& b) { b.Condition(spring, 2, 1); }, DI_OK},
      {"spring, two axes, 48 bytes", &GUID_Spring, [&](EffectBlock& b) { b.Condition(spring, 2, 2); }, DI_OK},
      {"spring, one axis, 48 bytes", &GUID_Spring, [&](EffectBlock& b) { b.Condition(spring, 1, 2); },
       DIERR_INVALIDPARAM},
      {"damper, two axes, 72 bytes", &GUID_Damper, [&](EffectBlock& b) { b.Condition(spring, 2, 3); },
       DIERR_INVALIDPARAM},
      {"friction, no block", &GUID_Friction,
       [&](EffectBlock& b) { b.Condition(spring).lpvTypeSpecificParams = nullptr; }, DIERR_INVALIDPARAM},
      {"three axes on a two-actuator wheel", &GUID_Inertia, [&](EffectBlock& b) { b.Condition(spring, 3, 3); },
       DIERR_INVALIDPARAM},
      {"no axes", &GUID_ConstantForce, [](EffectBlock& b) { b.Constant(3000).cAxes = 0; }, DIERR_INVALIDPARAM},
      {"the same axis twice", &GUID_ConstantForce,
       [](EffectBlock& b) {
         b.Constant(3000, 2);
         b.axes[1] = DIJOFS_X;
       },
       DIERR_INVALIDPARAM},
      {"a button for an axis", &GUID_ConstantForce, [](EffectBlock& b) { b.Constant(3000).rgdwAxes[0] = DIJOFS_BUTTON0; },
       DIERR_INVALIDPARAM},
      {"axes by id", &GUID_ConstantForce,
       [](EffectBlock& b) {
         b.Constant(3000).dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTIDS;
         b.axes[0] = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1);
       },
       DI_OK},
      {"axes neither by id nor offset", &GUID_ConstantForce,
       [](EffectBlock& b) { b.Constant(3000).dwFlags = DIEFF_CARTESIAN; }, DIERR_INVALIDPARAM},
      {"no coordinate system", &GUID_ConstantForce,
       [](EffectBlock& b) { b.Constant(3000).dwFlags = DIEFF_OBJECTOFFSETS; }, DIERR_INVALIDPARAM},
      {"polar with one axis", &GUID_ConstantForce,
       [](EffectBlock& b) { b.Constant(3000).dwFlags = DIEFF_POLAR | DIEFF_OBJECTOFFSETS; }, DIERR_INVALIDPARAM},
      {"polar with two axes", &GUID_ConstantForce,
       [](EffectBlock& b) { b.Constant(3000, 2, 9000, 0).dwFlags = DIEFF_POLAR | DIEFF_OBJECTOFFSETS; }, DI_OK},
      {"gain above full", &GUID_ConstantForce, [](EffectBlock& b) { b.Constant(3000).dwGain = 10001; },
       DIERR_INVALIDPARAM},
      {"an envelope of the wrong size", &GUID_ConstantForce,
       [](EffectBlock& b) {
         b.Constant(3000).lpEnvelope = &b.envelope;
         b.envelope.dwSize = 16;
       },
       DIERR_INVALIDPARAM},
      {"an envelope", &GUID_ConstantForce, [](EffectBlock& b) { b.Constant(3000).lpEnvelope = &b.envelope; }, DI_OK},
      {"a trigger button that cannot trigger", &GUID_ConstantForce,
       [](EffectBlock& b) { b.Constant(3000).dwTriggerButton = DIJOFS_BUTTON0; }, DIERR_INVALIDPARAM},
      {"the DirectInput 5 size", &GUID_Spring, [&](EffectBlock& b) { b.Condition(spring).dwSize = sizeof(DIEFFECT_DX5); },
       DI_OK},
      {"a periodic effect", &GUID_Sine, [](EffectBlock& b) { b.Constant(3000); }, DIERR_DEVICENOTREG},
      {"no parameters at all", &GUID_Damper, nullptr, DI_OK},
  };
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  for (const CreateCase& c : cases) {
    EffectBlock block;
    if (c.build) c.build(block);
    IDirectInputEffect* effect = reinterpret_cast<IDirectInputEffect*>(1);
    HRESULT result = device->CreateEffect(*c.type, c.build ? &block.effect : nullptr, &effect, nullptr);
    EXPECT_EQ(result, c.expected) << c.what;
    if (SUCCEEDED(result)) {
      ASSERT_NE(effect, nullptr) << c.what;
      effect->Release();
    } else {
      EXPECT_EQ(effect, nullptr) << c.what;
    }
    EXPECT_EQ(host::LiveObjects().effects, 0) << "after " << c.what;
  }
}

TEST_F(EffectTest, CreateEffectNeedsAForceFeedbackDeviceAndAnOutParameter) {
  host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad", 0x045E, 0x028E, 0));
  ComPtr<IDirectInputDevice8A> padDevice = Open(pad);
  ComPtr<IDirectInputDevice8A> wheelDevice = Open(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect;
  EXPECT_EQ(padDevice->CreateEffect(GUID_ConstantForce, &block.Constant(1000), effect.Put(), nullptr),
            DIERR_UNSUPPORTED);
  EXPECT_EQ(wheelDevice->CreateEffect(GUID_ConstantForce, &block.effect, nullptr, nullptr), DIERR_INVALIDPARAM);
  EXPECT_EQ(wheelDevice->CreateEffect(GUID_ConstantForce, &block.effect, effect.Put(),
                                      reinterpret_cast<LPUNKNOWN>(wheelDevice.Get())),
            DIERR_NOAGGREGATION);
  EXPECT_FALSE(effect);
}

// --- Download and playback

TEST_F(EffectTest, EffectsReachTheDeviceOnlyWhileItIsHeldExclusively) {
  ComPtr<IDirectInputDevice8A> device = Open(wheel);
  ASSERT_EQ(device->SetDataFormat(&c_dfDIJoystick), DI_OK);
  ASSERT_EQ(device->SetCooperativeLevel(TestWindow(), DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(2000));
  ASSERT_TRUE(effect);

  block.constant.lMagnitude = 2500;
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DI_DOWNLOADSKIPPED);
  EXPECT_EQ(effect->Download(), DIERR_NOTEXCLUSIVEACQUIRED);
  EXPECT_EQ(effect->Start(1, 0), DIERR_NOTEXCLUSIVEACQUIRED);
  EXPECT_EQ(StatusFailure(effect.Get()), DIERR_NOTEXCLUSIVEACQUIRED);

  ASSERT_EQ(device->Acquire(), DI_OK);
  EXPECT_EQ(FeedbackState(device.Get()) & DIGFFS_EMPTY, static_cast<DWORD>(DIGFFS_EMPTY));
  EXPECT_EQ(StatusFailure(effect.Get()), DIERR_NOTDOWNLOADED) << "created before the device was held";
  EXPECT_EQ(effect->Download(), DI_OK);
  EXPECT_EQ(effect->Download(), DI_NOEFFECT) << "already there, unchanged";
  EXPECT_EQ(FeedbackState(device.Get()) & (DIGFFS_EMPTY | DIGFFS_STOPPED), static_cast<DWORD>(DIGFFS_STOPPED));
  EXPECT_EQ(Status(effect.Get()), 0u) << "downloaded, stopped";
  EXPECT_EQ(effect->Start(1, 0), DI_OK);
  EXPECT_EQ(Status(effect.Get()), static_cast<DWORD>(DIEGES_PLAYING));
  EXPECT_EQ(FeedbackState(device.Get()) & DIGFFS_STOPPED, 0u);
  EXPECT_EQ(effect->Stop(), DI_OK);
  EXPECT_EQ(Status(effect.Get()), 0u);

  // Unacquiring takes effects off the device; Start puts them back.
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  ASSERT_EQ(device->Unacquire(), DI_OK);
  EXPECT_EQ(StatusFailure(effect.Get()), DIERR_NOTEXCLUSIVEACQUIRED);
  ASSERT_EQ(device->Acquire(), DI_OK);
  EXPECT_EQ(FeedbackState(device.Get()) & DIGFFS_EMPTY, static_cast<DWORD>(DIGFFS_EMPTY));
  EXPECT_EQ(StatusFailure(effect.Get()), DIERR_NOTDOWNLOADED);
  EXPECT_EQ(effect->Start(1, DIES_NODOWNLOAD), DIERR_NOTDOWNLOADED);
  EXPECT_EQ(effect->Start(1, 0), DI_OK);
  EXPECT_EQ(Status(effect.Get()), static_cast<DWORD>(DIEGES_PLAYING));
  EXPECT_EQ(effect->Unload(), DI_OK);
  EXPECT_EQ(StatusFailure(effect.Get()), DIERR_NOTDOWNLOADED);
}

TEST_F(EffectTest, AStatusIsTheExclusiveHoldersAndOnlyForADownloadedEffect) {
  // A second interface acquired without exclusivity gets no status, even while the
  // holder's effect plays.
  ComPtr<IDirectInputDevice8A> holder = OpenAcquired(wheel, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
  ComPtr<IDirectInputDevice8A> watcher = OpenAcquired(wheel, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  EffectBlock block;
  ComPtr<IDirectInputEffect> played = Create(holder.Get(), GUID_ConstantForce, &block.Constant(1000));
  ComPtr<IDirectInputEffect> watched = Create(watcher.Get(), GUID_ConstantForce, &block.Constant(1000));
  ASSERT_EQ(played->Start(1, 0), DI_OK);
  EXPECT_EQ(Status(played.Get()), static_cast<DWORD>(DIEGES_PLAYING));
  EXPECT_EQ(StatusFailure(watched.Get()), DIERR_NOTEXCLUSIVEACQUIRED);

  // Parameters stored with DIEP_NODOWNLOAD leave the effect off the device until it is downloaded.
  ComPtr<IDirectInputEffect> later = Create(holder.Get(), GUID_Spring, nullptr);
  ASSERT_EQ(later->SetParameters(&block.Condition(MakeCondition(0, 3000)), DIEP_ALLPARAMS | DIEP_NODOWNLOAD), DI_OK);
  EXPECT_EQ(StatusFailure(later.Get()), DIERR_NOTDOWNLOADED);
  ASSERT_EQ(later->Download(), DI_OK);
  EXPECT_EQ(Status(later.Get()), 0u);
}

TEST_F(EffectTest, AnEffectWithoutAxesOrBlockCannotPlay) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_Spring, nullptr);
  EXPECT_EQ(effect->Start(1, 0), DIERR_INCOMPLETEEFFECT);
  EXPECT_EQ(effect->Download(), DIERR_INCOMPLETEEFFECT);
  EffectBlock block;
  block.Condition(MakeCondition(0, 4000));
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_GAIN), DIERR_INCOMPLETEEFFECT) << "stored, but cannot go";
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_AXES | DIEP_NODOWNLOAD), DI_OK);
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DI_OK);
  EXPECT_EQ(effect->Start(INFINITE, 0), DI_OK);
  EXPECT_EQ(effect->Start(0, 0), DIERR_INVALIDPARAM);
  EXPECT_EQ(effect->Start(1, 0x4), DIERR_INVALIDPARAM);
}

struct TimingCase {
  const char* what;
  DWORD durationUs;
  DWORD startDelayUs;
  DWORD iterations;
  // Status at these milliseconds after Start.
  std::vector<std::pair<uint32_t, bool>> playing;
};

TEST_F(EffectTest, PlaybackLastsDurationTimesIterationsAfterTheStartDelay) {
  const TimingCase cases[] = {
      {"half a second", 500000, 0, 1, {{0, true}, {499, true}, {500, false}, {2000, false}}},
      {"twice", 500000, 0, 2, {{999, true}, {1000, false}}},
      {"after a delay", 500000, 250000, 1, {{100, true}, {749, true}, {750, false}}},
      {"infinite", INFINITE, 0, 1, {{10000, true}}},
      {"infinitely repeated", 1000, 0, INFINITE, {{10000, true}}},
  };
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  for (const TimingCase& c : cases) {
    EffectBlock block;
    block.Constant(1000);
    block.effect.dwDuration = c.durationUs;
    block.effect.dwStartDelay = c.startDelayUs;
    ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.effect);
    ASSERT_EQ(effect->Start(c.iterations, 0), DI_OK) << c.what;
    uint32_t elapsed = 0;
    for (const auto& [at, playing] : c.playing) {
      Sleep(at - elapsed);
      elapsed = at;
      EXPECT_EQ(Status(effect.Get()) == DIEGES_PLAYING, playing) << c.what << " at " << at << " ms";
    }
  }
}

TEST_F(EffectTest, SoloStartStopsTheOthers) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> spring = Create(device.Get(), GUID_Spring, &block.Condition(MakeCondition(0, 3000)));
  ComPtr<IDirectInputEffect> damper = Create(device.Get(), GUID_Damper, &block.Condition(MakeCondition(0, 3000)));
  ComPtr<IDirectInputEffect> force = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  ASSERT_EQ(spring->Start(1, 0), DI_OK);
  ASSERT_EQ(damper->Start(1, 0), DI_OK);
  ASSERT_EQ(force->Start(1, DIES_SOLO), DI_OK);
  EXPECT_EQ(Status(spring.Get()), 0u);
  EXPECT_EQ(Status(damper.Get()), 0u);
  EXPECT_EQ(Status(force.Get()), static_cast<DWORD>(DIEGES_PLAYING));
}

TEST_F(EffectTest, ADeviceHoldsOnlySoManyEffects) {
  host::DeviceDescription small = host::GameControllerDescription("Small Stick", 0x045E, 0x0077, 2);
  small.effectCapacity = 2;
  host::DeviceId stick = host::AttachDevice(small);
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(stick);
  EffectBlock block;
  block.Constant(1000);
  ComPtr<IDirectInputEffect> first = Create(device.Get(), GUID_ConstantForce, &block.effect);
  ComPtr<IDirectInputEffect> second = Create(device.Get(), GUID_ConstantForce, &block.effect);
  ComPtr<IDirectInputEffect> third;
  EXPECT_EQ(device->CreateEffect(GUID_ConstantForce, &block.effect, third.Put(), nullptr), DIERR_DEVICEFULL);
  ASSERT_EQ(device->CreateEffect(GUID_ConstantForce, nullptr, third.Put(), nullptr), DI_OK);
  EXPECT_EQ(third->SetParameters(&block.effect, DIEP_ALLPARAMS), DIERR_DEVICEFULL);
  EXPECT_EQ(DeviceProperty(device.Get(), DIPROP_FFLOAD), 100u);
  ASSERT_EQ(first->Unload(), DI_OK);
  EXPECT_EQ(third->Start(1, 0), DI_OK) << "room again";
}

TEST_F(EffectTest, ChangesAPlayingEffectCannotTakeRestartIt) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);

  block.constant.lMagnitude = 4000;
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DI_OK) << "magnitude is dynamic";
  block.axes[0] = DIJOFS_Y;
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_AXES | DIEP_NORESTART), DIERR_EFFECTPLAYING);
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_AXES), DI_EFFECTRESTARTED) << "stored by the refused call";
  block.axes[0] = DIJOFS_X;
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_AXES), DI_EFFECTRESTARTED);
  EXPECT_EQ(Status(effect.Get()), static_cast<DWORD>(DIEGES_PLAYING));
  block.effect.cAxes = 2;
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_AXES), DIERR_INVALIDPARAM) << "the axis count is fixed";

  ASSERT_EQ(effect->Stop(), DI_OK);
  block.effect.cAxes = 1;
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS | DIEP_START), DI_OK);
  EXPECT_EQ(Status(effect.Get()), static_cast<DWORD>(DIEGES_PLAYING)) << "DIEP_START started it";
}

TEST_F(EffectTest, ValuesBeyondFullScaleAreTruncated) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> force = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  block.constant.lMagnitude = 20000;
  EXPECT_EQ(force->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DI_TRUNCATED);
  ComPtr<IDirectInputEffect> spring = Create(device.Get(), GUID_Spring, &block.Condition(MakeCondition(0, 5000)));
  block.conditions[0].dwPositiveSaturation = 30000;
  EXPECT_EQ(spring->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DI_TRUNCATED);

  // What is kept is what was sent: the device truncates only what it plays.
  DICONDITION readBack{};
  DIEFFECT query{};
  query.dwSize = sizeof(query);
  query.cbTypeSpecificParams = sizeof(readBack);
  query.lpvTypeSpecificParams = &readBack;
  ASSERT_EQ(spring->GetParameters(&query, DIEP_TYPESPECIFICPARAMS), DI_OK);
  EXPECT_EQ(readBack.dwPositiveSaturation, 30000u);

  host::DeviceDescription quiet = host::GameControllerDescription("Quiet Stick", 0x045E, 0x0078, 1);
  quiet.reportsTruncation = false;
  ComPtr<IDirectInputDevice8A> quietDevice = OpenAcquired(host::AttachDevice(quiet));
  ComPtr<IDirectInputEffect> quietForce = Create(quietDevice.Get(), GUID_ConstantForce, &block.Constant(1000));
  block.constant.lMagnitude = 20000;
  EXPECT_EQ(quietForce->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DI_OK);
}

// --- Parameters read back

TEST_F(EffectTest, GetParametersGivesBackWhatWasSet) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  block.Condition(MakeCondition(0, 0), 2, 2);
  block.conditions[0] = MakeCondition(100, 2000, 9000, 50);
  block.conditions[1] = MakeCondition(-300, 7000, 4000, 10);  // Y: kept and logged, no physics
  block.directions[0] = 3;
  block.directions[1] = 4;
  block.effect.dwDuration = 1500000;
  block.effect.dwGain = 7000;
  block.effect.dwStartDelay = 20000;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_Spring, &block.effect);

  DWORD axes[2] = {};
  LONG directions[2] = {};
  DICONDITION conditions[2] = {};
  DIENVELOPE envelope{sizeof(DIENVELOPE), 0, 0, 0, 0};
  DIEFFECT out{};
  out.dwSize = sizeof(out);
  out.dwFlags = DIEFF_OBJECTOFFSETS | DIEFF_CARTESIAN;
  out.cAxes = 2;
  out.rgdwAxes = axes;
  out.rglDirection = directions;
  out.cbTypeSpecificParams = sizeof(conditions);
  out.lpvTypeSpecificParams = conditions;
  out.lpEnvelope = &envelope;
  ASSERT_EQ(effect->GetParameters(&out, DIEP_ALLPARAMS), DI_OK);
  EXPECT_EQ(out.dwDuration, 1500000u);
  EXPECT_EQ(out.dwGain, 7000u);
  EXPECT_EQ(out.dwStartDelay, 20000u);
  EXPECT_EQ(out.dwTriggerButton, DIEB_NOTRIGGER);
  EXPECT_EQ(out.cAxes, 2u);
  EXPECT_EQ(axes[0], static_cast<DWORD>(DIJOFS_X));
  EXPECT_EQ(axes[1], static_cast<DWORD>(DIJOFS_Y));
  EXPECT_EQ(directions[0], 3);
  EXPECT_EQ(directions[1], 4);
  EXPECT_EQ(out.cbTypeSpecificParams, 48u);
  EXPECT_EQ(std::memcmp(conditions, block.conditions, sizeof(conditions)), 0);
  EXPECT_EQ(out.lpEnvelope, nullptr) << "a condition has no envelope";

  // The same axes by id, and the direction in the other coordinate systems.
  out.dwFlags = DIEFF_OBJECTIDS | DIEFF_POLAR;
  ASSERT_EQ(effect->GetParameters(&out, DIEP_AXES | DIEP_DIRECTION), DI_OK);
  EXPECT_EQ(axes[0], static_cast<DWORD>(DIDFT_ABSAXIS | DIDFT_FFACTUATOR | DIDFT_MAKEINSTANCE(0)));
  EXPECT_EQ(axes[1], static_cast<DWORD>(DIDFT_ABSAXIS | DIDFT_FFACTUATOR | DIDFT_MAKEINSTANCE(1)));
  // (3, 4) points east-south-east: a 3-4-5 triangle, clockwise from north (-Y) by
  // 180 - 36.87 degrees.
  EXPECT_EQ(directions[0], 14313);
  EXPECT_EQ(out.dwFlags & (DIEFF_CARTESIAN | DIEFF_POLAR | DIEFF_SPHERICAL), static_cast<DWORD>(DIEFF_POLAR));
  out.dwFlags = DIEFF_OBJECTIDS | DIEFF_SPHERICAL;
  ASSERT_EQ(effect->GetParameters(&out, DIEP_DIRECTION), DI_OK);
  // Spherical: from +X toward +Y by 53.13 degrees.
  EXPECT_EQ(directions[0], 5313);
  out.dwFlags = DIEFF_OBJECTIDS;
  ASSERT_EQ(effect->GetParameters(&out, DIEP_DIRECTION), DI_OK);
  EXPECT_EQ(out.dwFlags & DIEFF_CARTESIAN, static_cast<DWORD>(DIEFF_CARTESIAN)) << "no system asked: the one set";

  // Too little room: the sizes needed come back.
  out.cAxes = 1;
  EXPECT_EQ(effect->GetParameters(&out, DIEP_AXES), DIERR_MOREDATA);
  EXPECT_EQ(out.cAxes, 2u);
  out.cbTypeSpecificParams = 24;
  EXPECT_EQ(effect->GetParameters(&out, DIEP_TYPESPECIFICPARAMS), DIERR_MOREDATA);
  EXPECT_EQ(out.cbTypeSpecificParams, 48u);
  EXPECT_EQ(effect->GetParameters(&out, 0x400), DIERR_INVALIDPARAM);
  EXPECT_EQ(effect->GetParameters(nullptr, DIEP_GAIN), DIERR_INVALIDPARAM);
  out.dwSize = sizeof(DIEFFECT_DX5);
  EXPECT_EQ(effect->GetParameters(&out, DIEP_STARTDELAY), DIERR_INVALIDPARAM) << "not in the DirectInput 5 form";

  GUID type{};
  ASSERT_EQ(effect->GetEffectGuid(&type), DI_OK);
  EXPECT_TRUE(IsEqualGUID(type, GUID_Spring));
}

// --- The device's force-feedback state and commands

TEST_F(EffectTest, CommandsPauseStopAndResetTheDevice) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  block.Constant(1000);
  block.effect.dwDuration = 1000000;
  ComPtr<IDirectInputEffect> first = Create(device.Get(), GUID_ConstantForce, &block.effect);
  ComPtr<IDirectInputEffect> second = Create(device.Get(), GUID_Friction, &block.Condition(MakeCondition(0, 2000)));
  ASSERT_EQ(first->Start(1, 0), DI_OK);
  ASSERT_EQ(second->Start(1, 0), DI_OK);
  EXPECT_EQ(FeedbackState(device.Get()) & (DIGFFS_STOPPED | DIGFFS_PAUSED | DIGFFS_EMPTY), 0u);
  EXPECT_TRUE(FeedbackState(device.Get()) & DIGFFS_ACTUATORSON);

  // A pause holds the one-second effect's clock: 600 ms + pause + 600 ms still plays.
  Sleep(600);
  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_PAUSE), DI_OK);
  EXPECT_TRUE(FeedbackState(device.Get()) & DIGFFS_PAUSED);
  Sleep(5000);
  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_CONTINUE), DI_OK);
  Sleep(300);
  EXPECT_EQ(Status(first.Get()), static_cast<DWORD>(DIEGES_PLAYING));
  Sleep(200);
  EXPECT_EQ(Status(first.Get()), 0u);

  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_SETACTUATORSOFF), DI_OK);
  EXPECT_TRUE(FeedbackState(device.Get()) & DIGFFS_ACTUATORSOFF);
  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_SETACTUATORSON), DI_OK);
  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_STOPALL), DI_OK);
  EXPECT_EQ(Status(second.Get()), 0u);
  EXPECT_TRUE(FeedbackState(device.Get()) & DIGFFS_STOPPED);
  EXPECT_EQ(DeviceProperty(device.Get(), DIPROP_FFLOAD), 2u * 100 / 32) << "stopped, still downloaded";
  ASSERT_EQ(device->SendForceFeedbackCommand(DISFFC_RESET), DI_OK);
  EXPECT_TRUE(FeedbackState(device.Get()) & DIGFFS_EMPTY);
  EXPECT_EQ(StatusFailure(second.Get()), DIERR_NOTDOWNLOADED);
  EXPECT_EQ(second->Start(1, DIES_NODOWNLOAD), DIERR_NOTDOWNLOADED);

  EXPECT_EQ(device->SendForceFeedbackCommand(DISFFC_PAUSE | DISFFC_STOPALL), DIERR_INVALIDPARAM);
  EXPECT_EQ(device->SendForceFeedbackCommand(0), DIERR_INVALIDPARAM);
  DWORD state = 0;
  EXPECT_EQ(device->GetForceFeedbackState(nullptr), DIERR_INVALIDPARAM);
  ASSERT_EQ(device->Unacquire(), DI_OK);
  EXPECT_EQ(device->GetForceFeedbackState(&state), DIERR_NOTEXCLUSIVEACQUIRED);
  EXPECT_EQ(device->SendForceFeedbackCommand(DISFFC_RESET), DIERR_NOTEXCLUSIVEACQUIRED);

  host::DeviceId keyboard = host::AttachDevice(host::KeyboardDescription());
  ComPtr<IDirectInputDevice8A> keys = Open(keyboard);
  EXPECT_EQ(keys->GetForceFeedbackState(&state), DIERR_UNSUPPORTED);
}

TEST_F(EffectTest, UnpluggingDropsEffectsAndReportsTheLoss) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(device.Get(), GUID_ConstantForce, &block.Constant(1000));
  ASSERT_EQ(effect->Start(1, 0), DI_OK);
  ASSERT_TRUE(host::DetachDevice(wheel));
  DWORD status = 0;
  EXPECT_EQ(effect->GetEffectStatus(&status), DIERR_INPUTLOST);
  EXPECT_EQ(effect->Start(1, 0), DIERR_INPUTLOST);
  EXPECT_EQ(effect->SetParameters(&block.effect, DIEP_TYPESPECIFICPARAMS), DIERR_INPUTLOST);
  ASSERT_TRUE(host::ReattachDevice(wheel));
  ASSERT_EQ(device->Acquire(), DI_OK);
  EXPECT_EQ(StatusFailure(effect.Get()), DIERR_NOTDOWNLOADED) << "a device plugged in again holds no effects";
  EXPECT_EQ(effect->Start(1, 0), DI_OK);
}

struct EnumCreated {
  std::vector<IDirectInputEffect*> seen;
  int stopAfter = 0;
  bool releaseEach = false;
};

BOOL CALLBACK CollectCreated(LPDIRECTINPUTEFFECT effect, LPVOID context) {
  auto* enumeration = static_cast<EnumCreated*>(context);
  enumeration->seen.push_back(effect);
  if (enumeration->releaseEach) effect->Release();
  return static_cast<int>(enumeration->seen.size()) == enumeration->stopAfter ? DIENUM_STOP : DIENUM_CONTINUE;
}

TEST_F(EffectTest, CreatedEffectsAreEnumeratedInCreationOrder) {
  ComPtr<IDirectInputDevice8A> device = OpenAcquired(wheel);
  EffectBlock block;
  ComPtr<IDirectInputEffect> a = Create(device.Get(), GUID_Spring, &block.Condition(MakeCondition(0, 1)));
  ComPtr<IDirectInputEffect> b = Create(device.Get(), GUID_ConstantForce, &block.Constant(1));
  ComPtr<IDirectInputEffect> c = Create(device.Get(), GUID_Damper, nullptr);

  EnumCreated all;
  ASSERT_EQ(device->EnumCreatedEffectObjects(CollectCreated, &all, 0), DI_OK);
  EXPECT_EQ(all.seen, (std::vector<IDirectInputEffect*>{a.Get(), b.Get(), c.Get()}));
  EnumCreated two;
  two.stopAfter = 2;
  ASSERT_EQ(device->EnumCreatedEffectObjects(CollectCreated, &two, 0), DI_OK);
  EXPECT_EQ(two.seen.size(), 2u);
  EXPECT_EQ(device->EnumCreatedEffectObjects(CollectCreated, &two, 1), DIERR_INVALIDPARAM);

  // The callback may release the effects it is handed.
  a.Detach();
  b.Detach();
  c.Detach();
  EnumCreated releasing;
  releasing.releaseEach = true;
  ASSERT_EQ(device->EnumCreatedEffectObjects(CollectCreated, &releasing, 0), DI_OK);
  EXPECT_EQ(releasing.seen.size(), 3u);
  EXPECT_EQ(host::LiveObjects().effects, 0);
  EnumCreated after;
  ASSERT_EQ(device->EnumCreatedEffectObjects(CollectCreated, &after, 0), DI_OK);
  EXPECT_TRUE(after.seen.empty());
}

// --- Escapes

TEST_F(EffectTest, EscapesReachOnlyADriverThatTakesThem) {
  host::DeviceId pad = host::AttachDevice(host::GameControllerDescription("Pad", 0x045E, 0x028E, 0));
  ComPtr<IDirectInputDevice8A> wheelDevice = OpenAcquired(wheel);
  ComPtr<IDirectInputDevice8A> padDevice = OpenAcquired(pad);
  unsigned char leds[5] = {0xF8, 0x12, 0x1F, 0x00, 0x00};
  DIEFFESCAPE escape{sizeof(DIEFFESCAPE), 0, leds, sizeof(leds), nullptr, 0};
  EXPECT_EQ(wheelDevice->Escape(&escape), DI_OK);
  EXPECT_EQ(padDevice->Escape(&escape), DIERR_UNSUPPORTED);
  EXPECT_EQ(wheelDevice->Escape(nullptr), DIERR_INVALIDPARAM);
  EffectBlock block;
  ComPtr<IDirectInputEffect> effect = Create(wheelDevice.Get(), GUID_ConstantForce, &block.Constant(1));
  EXPECT_EQ(effect->Escape(&escape), DI_OK);
  ASSERT_EQ(wheelDevice->Unacquire(), DI_OK);
  EXPECT_EQ(wheelDevice->Escape(&escape), DIERR_NOTEXCLUSIVEACQUIRED);
}

}  // namespace
}  // namespace dinput_test
