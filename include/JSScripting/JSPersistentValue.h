// A rooted JavaScript value held by engine-side objects; the language drops it when its context dies.
#pragma once
#include <jsapi.h>

class CJSScripting;

// Engine objects (functions, script values) may outlive the JavaScript context at shutdown; the
// language unroots every holder first, which then reads undefined.
class CJSPersistentValue {
public:
    CJSPersistentValue(CJSScripting& scripting, const JS::Value& value);
    ~CJSPersistentValue();
    CJSPersistentValue(const CJSPersistentValue&) = delete;
    CJSPersistentValue& operator=(const CJSPersistentValue&) = delete;

    // Null once the context is gone.
    CJSScripting* GetScripting() const { return m_pScripting; }
    JS::Value Get() const { return m_pScripting ? m_Value.get() : JS::UndefinedValue(); }
    // Called by the language before its context is destroyed.
    void Drop();

private:
    CJSScripting* m_pScripting;
    JS::PersistentRooted<JS::Value> m_Value;
};
