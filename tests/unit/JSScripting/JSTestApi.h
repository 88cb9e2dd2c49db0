// A small script API for binding tests: classes with inheritance, value classes, conversions, errors.
#pragma once
#include "Engine/ArgumentKinds.h"
#include "Engine/Scripting.h"

struct tTestApiCounters {
    int thingsDestroyed = 0;
    int destroyedDuringCollection = 0;
    bool bLanguageAlive = false;  // a context exists on this thread
};
extern tTestApiCounters g_TestApi;

class CTestThing : public Ferrox3D::CBaseObject {
public:
    CTestThing();
    ~CTestThing() override;
    int32_t m_Value = 0;
};

// Registers Thing, Special (extends Thing), Singleton, Vec2, Vec3, Matrix4x4, the namespace util
// (alias u) and global functions that echo and describe values.
void RegisterTestApi(Ferrox3D::CScripting& scripting);
// The one engine object `getShared()` hands out; released by ReleaseTestApi.
CTestThing* GetSharedThing();
CTestThing* GetSingleton();
void ReleaseTestApi();
