// Registration of persistent values with their language.
#include "JSScripting/JSPersistentValue.h"
#include "JSScripting/JSScripting.h"

CJSPersistentValue::CJSPersistentValue(CJSScripting& scripting, const JS::Value& value)
    : m_pScripting(&scripting), m_Value(scripting.GetContext(), value) {
    scripting.AddPersistentValue(this);
}

CJSPersistentValue::~CJSPersistentValue() {
    if (m_pScripting)
        m_pScripting->RemovePersistentValue(this);
}

void CJSPersistentValue::Drop() {
    m_Value.reset();
    m_pScripting = nullptr;
}
