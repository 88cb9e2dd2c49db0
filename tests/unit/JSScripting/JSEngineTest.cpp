// The JavaScript engine without the script API: globals, console, errors, promises, checkpoints.
#include "JSTestSupport.h"
#include "Engine/Stream.h"

using Ferrox3D::LOGTYPE_ERROR;
using Ferrox3D::LOGTYPE_INFO;
using Ferrox3D::LOGTYPE_WARN;

TEST_F(JSBindingTest, ConsoleLogsFirstArgumentAtItsLevel) {
    struct Case { const char* script; const char* text; Ferrox3D::eLogType level; };
    const Case cases[] = {
        {"console.log(1, 2)", "1", LOGTYPE_INFO},
        {"console.info('i')", "i", LOGTYPE_INFO},
        {"console.warn({})", "[object Object]", LOGTYPE_WARN},
        {"console.error(undefined)", "undefined", LOGTYPE_ERROR},
        {"console.assert(0, 'failed')", "failed", LOGTYPE_ERROR},
    };
    for (const Case& c : cases) {
        m_Log.Clear();
        ASSERT_TRUE(Run(c.script)) << c.script;
        ASSERT_EQ(m_Log.m_Lines.size(), 1u) << c.script;
        EXPECT_TRUE(m_Log.Has(c.text, c.level)) << c.script;
    }
    m_Log.Clear();
    ASSERT_TRUE(Run("console.assert(1, 'no')"));
    EXPECT_TRUE(m_Log.m_Lines.empty());
    EXPECT_EQ(Eval("console.assert.length + ',' + console.log.length"), "2,1");
}

TEST_F(JSBindingTest, GlobalsOfAResource) {
    EXPECT_EQ(Eval("global === this"), "true");
    EXPECT_EQ(Eval("Reflect.parse('a + 1').body[0].expression.type"), "BinaryExpression");
    EXPECT_EQ(Eval("typeof collectGarbage()"), "undefined");
    EXPECT_EQ(Eval("[typeof Map, typeof Promise, typeof BigInt, typeof JSON].join()"),
              "function,function,function,object");
}

TEST_F(JSBindingTest, ResourcesHaveSeparateGlobals) {
    CJSScriptEnvironment* pOther = m_pScripting->CreateEnvironment("other");
    ASSERT_NE(pOther, nullptr);
    ASSERT_TRUE(Run("var shared = 1"));
    const char* probe = "console.log(typeof shared)";
    ASSERT_TRUE(pOther->DoString(probe, strlen(probe), "other.js"));
    EXPECT_TRUE(m_Log.Has("undefined", LOGTYPE_INFO));
    pOther->Destroy();
}

TEST_F(JSBindingTest, ErrorsAreLoggedWithFileAndLine) {
    struct Case { const char* script; const char* message; const char* place; };
    const Case cases[] = {
        {"\n\nthrow new TypeError('bad thing')", "TypeError: bad thing", "File: load.js Line: 3 Column: "},
        {"var x = ;", "SyntaxError: expected expression, got ';'", "File: load.js Line: 1 Column: "},
        {"function f() { return f(); }\nf()", "InternalError: too much recursion", "File: load.js Line: 1"},
        {"throw 'plain'", "uncaught exception: plain", "File: load.js Line: 1"},
    };
    for (const Case& c : cases) {
        m_Log.Clear();
        EXPECT_FALSE(Run(c.script, "load.js")) << c.script;
        EXPECT_TRUE(m_Log.Has(c.message, LOGTYPE_ERROR)) << c.script;
        EXPECT_TRUE(m_Log.HasSubstring(c.place)) << c.script;
    }
    // The environment keeps working after errors.
    EXPECT_EQ(Eval("'still running'"), "still running");
}

TEST_F(JSBindingTest, PromiseJobsRunAtTheCheckpointNotInside) {
    ASSERT_TRUE(Run("var order = [];"
                    "Promise.resolve().then(() => order.push('job'));"
                    "order.push('after resolve');"));
    EXPECT_EQ(Eval("order.join()"), "after resolve,job");
}

TEST_F(JSBindingTest, AsyncAwaitCompletesWithinTheCheckpoint) {
    ASSERT_TRUE(Run("var log = [];"
                    "async function step(n) { await null; log.push(n); return n * 2; }"
                    "async function main() { const a = await step(1); const b = await step(a); log.push('done ' + b); }"
                    "main(); log.push('sync');"));
    EXPECT_EQ(Eval("log.join()"), "sync,1,2,done 4");
}

TEST_F(JSBindingTest, OnlyRejectionsUnhandledAtTheCheckpointAreReported) {
    ASSERT_TRUE(Run("Promise.reject(new Error('caught')).catch(() => {});"
                    "(async () => { try { await Promise.reject(new Error('awaited')); } catch (e) {} })();"
                    "const late = Promise.reject(new Error('handled by a later job'));"
                    "Promise.resolve().then(() => late.catch(() => {}));"));
    EXPECT_EQ(m_Log.CountAt(LOGTYPE_ERROR), 0u);

    ASSERT_TRUE(Run("\nasync function fails() { throw new Error('nobody caught me'); }\nfails();", "async.js"));
    EXPECT_TRUE(m_Log.Has("Error: nobody caught me", LOGTYPE_ERROR));
    EXPECT_TRUE(m_Log.HasSubstring("File: async.js Line: 2"));
}

TEST_F(JSBindingTest, AThrowingJobIsReportedAndLaterJobsStillRun) {
    ASSERT_TRUE(Run("var ran = false;"
                    "Promise.resolve().then(() => { throw new Error('in job'); }).catch(e => { throw e; });"
                    "Promise.resolve().then(() => { ran = true; });", "jobs.js"));
    EXPECT_TRUE(m_Log.Has("Error: in job", LOGTYPE_ERROR));
    EXPECT_EQ(Eval("ran"), "true");
}

TEST_F(JSBindingTest, DestroyedEnvironmentIsReleasedAfterCollection) {
    CJSScriptEnvironment* pOther = m_pScripting->CreateEnvironment("short-lived");
    ASSERT_NE(pOther, nullptr);
    size_t count = m_pScripting->GetEnvironmentCount();
    pOther->Destroy();
    m_pScripting->CollectGarbage();
    EXPECT_EQ(m_pScripting->GetEnvironmentCount(), count - 1);
}

TEST_F(JSBindingTest, DoFileRunsAStreamWithItsFileName) {
    const char source[] = "console.log('from file');\nthrow new Error('second line');";
    Ferrox3D::CMemoryStream stream(source, sizeof(source) - 1);
    EXPECT_FALSE(m_pEnvironment->DoFile(&stream, "scripts/main.js"));
    EXPECT_TRUE(m_Log.Has("from file", LOGTYPE_INFO));
    EXPECT_TRUE(m_Log.HasSubstring("File: scripts/main.js Line: 2"));
    EXPECT_FALSE(m_pEnvironment->DoFile(nullptr, "missing.js"));
}
