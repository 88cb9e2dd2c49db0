// One wrapper per engine object: sealed wrappers, deferred death across collections.
#include "JSTestSupport.h"
#include <js/Object.h>
#include <js/PropertyAndElement.h>
#include "JSScripting/JSReferenceable.h"

namespace {
struct tProbeLog {
    int destroyed = 0;
    int destroyedDuringCollection = 0;
};

class CProbe : public Ferrox3D::CBaseObject {
public:
    explicit CProbe(tProbeLog& log) : m_Log(log) {}
    ~CProbe() override {
        ++m_Log.destroyed;
        m_Log.destroyedDuringCollection += JS::RuntimeHeapIsCollecting();
    }
    tProbeLog& m_Log;
};

const JSClass s_ProbeClass = {"Probe", JSCLASS_HAS_RESERVED_SLOTS(CJSReferenceable::SLOT_COUNT) |
                                           JSCLASS_FOREGROUND_FINALIZE,
                              &CJSReferenceable::s_WrapperOps};
}  // namespace

class JSWrapperTest : public JSBindingTest {
protected:
    // Wraps the object and publishes the wrapper as a global variable of the test resource.
    void Publish(CProbe* pProbe, const char* pszName, bool bExtensible) {
        JSAutoRealm realm(Cx(), m_pEnvironment->GetGlobal());
        JS::RootedObject wrapper(Cx(), JS_NewObject(Cx(), &s_ProbeClass));
        ASSERT_TRUE(wrapper);
        ASSERT_NE(CJSReferenceable::Attach(*m_pScripting, pProbe, wrapper, bExtensible), nullptr);
        JS::RootedObject global(Cx(), m_pEnvironment->GetGlobal());
        ASSERT_TRUE(JS_DefineProperty(Cx(), global, pszName, wrapper, JSPROP_ENUMERATE));
    }
    tProbeLog m_Probes;
    std::vector<CProbe*> m_Kept;
};

TEST_F(JSWrapperTest, AddingToASealedWrapperThrowsInSloppyAndStrictCode) {
    auto* pSealed = new CProbe(m_Probes);
    auto* pOpen = new CProbe(m_Probes);
    Publish(pSealed, "sealed", false);
    Publish(pOpen, "open", true);
    const char* expected = "Error: can't define property \"extra\": Object is not extensible";
    const char* scripts[] = {"sealed.extra = 1", "'use strict'; sealed.extra = 1",
                             "Object.defineProperty(sealed, 'extra', {value: 1})"};
    for (const char* script : scripts) {
        m_Log.Clear();
        EXPECT_FALSE(Run(script)) << script;
        EXPECT_TRUE(m_Log.Has(expected, Ferrox3D::LOGTYPE_ERROR)) << script;
    }
    EXPECT_EQ(Eval("'extra' in sealed"), "false");
    EXPECT_EQ(Eval("(open.extra = 5, open.extra)"), "5");
    pSealed->Release();
    pOpen->Release();
}

TEST_F(JSWrapperTest, ObjectDiesOnlyAfterItsWrapperIsCollected) {
    auto* pProbe = new CProbe(m_Probes);
    Publish(pProbe, "probe", false);
    pProbe->Release();  // count 0: the collector decides from here on
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 0) << "still reachable from the script";
    ASSERT_TRUE(Run("delete globalThis.probe"));
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 1);
    EXPECT_EQ(m_Probes.destroyedDuringCollection, 0);
    EXPECT_EQ(m_pScripting->GetRecordCount(), 0u);
}

TEST_F(JSWrapperTest, NativeReferenceKeepsTheWrapperRooted) {
    auto* pProbe = new CProbe(m_Probes);
    Publish(pProbe, "probe", false);
    ASSERT_TRUE(Run("probe = null"));
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 0);
    ASSERT_NE(pProbe->GetJSScriptReference(), nullptr) << "the wrapper survives while referenced natively";
    pProbe->Release();
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 1);
}

TEST_F(JSWrapperTest, ReferenceTakenBeforeFinalisationKeepsTheObjectAndDropsTheRecord) {
    auto* pProbe = new CProbe(m_Probes);
    Publish(pProbe, "probe", false);
    pProbe->Release();
    ASSERT_TRUE(Run("probe = null"));
    pProbe->AddRef();  // taken back natively while the wrapper is unrooted
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 0);
    EXPECT_EQ(pProbe->GetJSScriptReference(), nullptr);
    Publish(pProbe, "again", false);  // a fresh wrapper can be made
    pProbe->Release();
    ASSERT_TRUE(Run("again = null"));
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 1);
}

TEST_F(JSWrapperTest, ObliteratedObjectLeavesAHarmlessWrapper) {
    auto* pProbe = new CProbe(m_Probes);
    Publish(pProbe, "probe", false);
    pProbe->Obliterate();
    EXPECT_EQ(m_Probes.destroyed, 1);
    EXPECT_EQ(Eval("typeof probe"), "object");
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_pScripting->GetRecordCount(), 0u);
}

TEST_F(JSWrapperTest, ManyObjectsAcrossCollections) {
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 200; ++i) {
            auto* pProbe = new CProbe(m_Probes);
            Publish(pProbe, ("p" + std::to_string(i)).c_str(), i % 2 == 0);
            if (i % 3 != 0)
                pProbe->Release();
            else
                m_Kept.push_back(pProbe);
        }
        ASSERT_TRUE(Run("for (let i = 0; i < 200; ++i) delete globalThis['p' + i]"));
        m_pScripting->CollectGarbage();
    }
    EXPECT_EQ(m_Probes.destroyed, 5 * 133);
    for (CProbe* pProbe : m_Kept)
        pProbe->Release();
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_Probes.destroyed, 1000);
    EXPECT_EQ(m_Probes.destroyedDuringCollection, 0);
}
