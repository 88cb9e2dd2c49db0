// The script API in JavaScript: conversions both ways, classes and inheritance, natives and their errors.
#include "JSTestApi.h"
#include "JSTestSupport.h"

using Ferrox3D::LOGTYPE_ERROR;

class JSReflectionTest : public JSBindingTest {
protected:
    void RegisterApi(Ferrox3D::CScripting& scripting) override {
        RegisterTestApi(scripting);
        g_TestApi.bLanguageAlive = true;
    }
    void TearDown() override {
        JSBindingTest::TearDown();
        g_TestApi.bLanguageAlive = false;
        ReleaseTestApi();
    }
    // Every expression must log "true".
    void ExpectAllTrue(std::initializer_list<const char*> expressions) {
        for (const char* expression : expressions)
            EXPECT_EQ(Eval(expression), "true") << expression;
    }
};

TEST_F(JSReflectionTest, JavaScriptValuesReachNativesAsTheirKinds) {
    struct Case { const char* arguments; const char* kinds; };
    const Case cases[] = {
        {"undefined, null, true", "undefined:null:boolean"},
        {"1, -2147483648, 1.5, 2 ** 31", "integer:integer:number:number"},
        {"'text', Symbol('s')", "string:undefined"},
        {"2n ** 40n, 2n ** 80n", "integer:number"},
        {"[1, 'a', [null]]", "array[integer,string,array[null,],]"},
        {"{a: 1}, new Map()", "jsvalue:jsvalue"},
        {"new ArrayBuffer(4), function () {}, () => 1", "bytes:function:function"},
        {"new Thing(), new Vec3(), new Vec2(), new Matrix4x4()", "instance:Vector3D:Vector2D:Matrix4x4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(std::string("kindsOf(") + c.arguments + ")"), c.kinds) << c.arguments;
}

TEST_F(JSReflectionTest, SixtyFourBitIntegers) {
    EXPECT_EQ(Eval("longOf(2n ** 53n + 1n)"), "9007199254740993");
    EXPECT_EQ(Eval("longOf(-(2n ** 62n))"), "-4611686018427387904");
    EXPECT_EQ(Eval("longOf(-5)"), "-5");
    EXPECT_EQ(Eval("makeLong() === 2 ** 40"), "true");
}

TEST_F(JSReflectionTest, ValuesRoundTripThroughANative) {
    ExpectAllTrue({
        "echo(undefined) === undefined && echo(null) === null && echo(false) === false",
        "echo(7) === 7 && echo(-0.25) === -0.25 && echo(2 ** 40) === 2 ** 40",
        "echo('h\\u00e9llo \\u2713') === 'h\\u00e9llo \\u2713'",
        "echo('a\\0b').length === 3",
        "JSON.stringify(echo([1, [2, ['x', null]]])) === '[1,[2,[\"x\",null]]]'",
        "(() => { const o = {k: 1}; return echo(o) === o; })()",
        "(() => { const f = () => 1; return echo(f) === f; })()",
        "(() => { const t = new Thing(1); return echo(t) === t; })()",
        "(() => { const b = new Uint8Array([1, 0, 255]).buffer; const c = new Uint8Array(echo(b));"
        " return c.length === 3 && c[2] === 255 && echo(b) !== b; })()",
        "(() => { const v = new Vec3(); v.x = 1; v[2] = 3; const w = echo(v);"
        " return w !== v && w instanceof Vec3 && w[0] === 1 && w.z === 3; })()",
    });
}

TEST_F(JSReflectionTest, EngineValuesBecomeJavaScriptValues) {
    ASSERT_TRUE(Run("var values = makeValues();"));
    ExpectAllTrue({
        "JSON.stringify(values.list) === '[1,\"x\",null]' && values.flag === true",
        "values.vector instanceof Vec3 && values.vector[2] === 3 && values.vector.y === 2",
        "values.matrix instanceof Matrix4x4 && values.matrix.tx === 7",
        "values.bytes instanceof ArrayBuffer && new Uint8Array(values.bytes)[1] === 0",
        "'nothing' in values && values.nothing === undefined",
        "nullObject() === null",
        "(() => { const add = makeAdder(); return add(2, 3) === 5 && echo(add)(1, 1) === 2; })()",
    });
}

TEST_F(JSReflectionTest, CyclicValuesFailInsteadOfRecursingForever) {
    EXPECT_EQ(Eval("(() => { const a = []; a.push(a); try { echo(a); } catch (e) { return e.message; } })()"),
              "value nested too deeply");
}

TEST_F(JSReflectionTest, ClassesConstructorsAndInheritance) {
    ExpectAllTrue({
        "new Thing(5).getValue() === 5",
        "(() => { const t = new Thing(); t.value = 9; return t.getValue() === 9 && t.readOnly === 9; })()",
        "new Special(1) instanceof Thing && new Special(1) instanceof Special",
        "!(new Thing() instanceof Special)",
        "new Special(4).getValue() === 4 && new Special().specialOnly() === 'special'",
        "Thing.prototype.setValue.length === 1 && Thing.name === 'Thing'",
        "Object.getOwnPropertyDescriptor(Thing.prototype, 'value').get.name === 'get value'",
        "Object.getOwnPropertyDescriptor(Thing.prototype, 'value').set.name === 'set value'",
        "!Object.keys(Thing.prototype).length",
        "(() => { class Mine extends Thing { constructor() { super(3); this.extra = 1; } }"
        " const m = new Mine(); return m instanceof Mine && m instanceof Thing && m.getValue() === 3 && m.extra === 1; })()",
        "(() => { const t = new Thing(); t.added = 2; return t.added === 2; })()",
    });
}

TEST_F(JSReflectionTest, NativeErrorsAreCatchableWithFileAndLine) {
    struct Case { const char* expression; const char* message; };
    const Case cases[] = {
        {"Thing(1)", "Constructor Thing requires 'new'"},
        {"new Abstract()", "Illegal constructor."},
        {"Thing.prototype.getValue.call({})", "'getValue' called on an object that does not implement interface Thing."},
        {"Special.prototype.specialOnly.call(new Thing())", "Special expected for 'this'"},
        {"new Thing('x')", "Expected integer for argument 1"},
        {"fail()", "custom failure 42"},
        {"(function () { 'use strict'; new Thing().readOnly = 1; })()", "setting getter-only property \"readOnly\""},
    };
    for (const Case& c : cases) {
        std::string script = std::string("try { ") + c.expression + " } catch (e) { console.log(e.message) }";
        m_Log.Clear();
        ASSERT_TRUE(Run(script)) << c.expression;
        EXPECT_EQ(m_Log.InfoTexts(), std::vector<std::string>{c.message}) << c.expression;
    }
    m_Log.Clear();
    EXPECT_FALSE(Run("var a = 1;\n\nfail();", "errors.js"));
    EXPECT_TRUE(m_Log.Has("Error: custom failure 42", LOGTYPE_ERROR));
    EXPECT_TRUE(m_Log.HasSubstring("File: errors.js Line: 3"));
}

TEST_F(JSReflectionTest, NamespacesAliasesAndProperties) {
    ExpectAllTrue({
        "util.twice(2) === 4 && u === util && u.twice.length === 1",
        "(counter = 5, counter === 5)",
        "typeof Referenceable === 'undefined' && typeof echo === 'function'",
    });
}

TEST_F(JSReflectionTest, CallbacksFromNatives) {
    EXPECT_EQ(Eval("callBack((a, b) => a + b)"), "1two");
    m_Log.Clear();
    EXPECT_EQ(Eval("(() => { try { callBack(() => { throw new Error('inner'); }); } catch (e) { return e.message; } })()"),
              "callback failed");
    EXPECT_TRUE(m_Log.Has("Error: inner", LOGTYPE_ERROR)) << "the handler's own error is reported";
}

TEST_F(JSReflectionTest, RecursionThroughNativesEndsInAnError) {
    EXPECT_FALSE(Run("function dive() { return callBack(dive); }\ndive();"));
    EXPECT_TRUE(m_Log.HasSubstring("too much recursion"));
    EXPECT_EQ(Eval("'alive'"), "alive");
}

TEST_F(JSReflectionTest, OneWrapperPerObject) {
    ExpectAllTrue({
        "getShared() === getShared()",
        "(() => { try { getShared().extra = 1; return false; } catch (e) {"
        " return e.message === \"can't define property \\\"extra\\\": Object is not extensible\"; } })()",
        "(() => { getShared().setValue(11); return getShared().value === 11; })()",
    });
}

TEST_F(JSReflectionTest, ConstructorReturningAWrappedObjectReusesItsWrapper) {
    ExpectAllTrue({"new Singleton() === new Singleton()", "new Singleton() instanceof Thing"});
    m_pScripting->CollectGarbage();
    CTestThing* pSingleton = GetSingleton();
    ASSERT_NE(pSingleton, nullptr);
    EXPECT_EQ(pSingleton->GetRefCount(), 1) << "one native reference, no extra one from the constructor";
    ReleaseTestApi();  // the wrapper is still alive, so the object waits for the collector
    g_TestApi.bLanguageAlive = true;
    EXPECT_EQ(g_TestApi.thingsDestroyed, 0);
    m_pScripting->CollectGarbage();
    EXPECT_EQ(g_TestApi.thingsDestroyed, 1);
    EXPECT_EQ(m_pScripting->GetRecordCount(), 0u);
}

TEST_F(JSReflectionTest, ObjectsSurviveWhileReachableAndDieAfterCollection) {
    ASSERT_TRUE(Run("var keep = new Thing(7); for (let i = 0; i < 500; ++i) new Special(i);"));
    m_pScripting->CollectGarbage();
    EXPECT_EQ(g_TestApi.thingsDestroyed, 500);
    EXPECT_EQ(Eval("keep.getValue()"), "7");
    ASSERT_TRUE(Run("keep = null; collectGarbage();"));
    m_pScripting->Checkpoint();
    EXPECT_EQ(g_TestApi.thingsDestroyed, 501);
    EXPECT_EQ(g_TestApi.destroyedDuringCollection, 0);
}
