#pragma once
// The test doubles of every seam in src/platform/: none of them ships.
#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "RecordingDesktop.h"
#include "RecordingSoundDevice.h"
#include "ScriptedDialogs.h"
#include "ScriptedRandom.h"
