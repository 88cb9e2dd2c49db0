// The script-neutral value: its 22 kinds, predicates, conversions, cloning and wire entry points.
#pragma once
#include <cstddef>
#include <cstdint>
#include "Engine/ObjectModel.h"
#include "Engine/Vector.h"

namespace Ferrox3D {

class CBinaryReader;
class CBinaryWriter;
class CFunction;
class ReflectedClass;
class Stream;

enum eArgumentType : uint8_t {
    ARGUMENT_NIL = 0,
    ARGUMENT_BOOLEAN = 1,
    ARGUMENT_STRING = 2,
    ARGUMENT_TABLE = 3,  // never instantiated
    ARGUMENT_INTEGER = 4,
    ARGUMENT_FLOAT = 5,
    ARGUMENT_NETOBJECT = 6,
    ARGUMENT_OBJECT = 7,
    ARGUMENT_VECTOR2D = 8,
    ARGUMENT_VECTOR3D = 9,
    ARGUMENT_VECTOR4D = 10,  // never instantiated
    ARGUMENT_MATRIX4X4 = 11,
    ARGUMENT_UNDEFINED = 12,
    ARGUMENT_LUAREF = 13,
    ARGUMENT_JSVALUE = 14,
    ARGUMENT_LONGINTEGER = 15,
    ARGUMENT_DOUBLE = 16,
    ARGUMENT_ARRAY = 17,
    ARGUMENT_MAP = 18,
    ARGUMENT_FUNCTION = 19,
    ARGUMENT_SQREF = 20,
    ARGUMENT_BYTES = 21,
};
constexpr int ARGUMENT_TYPE_COUNT = 22;

// "ARGUMENT_NIL" ... "ARGUMENT_BYTES"; "ARGUMENT_UNKNOWN" above 21.
const char* GetArgumentTagName(uint8_t type);
// "null", "boolean", ... "bytes"; "unknown" above 21.
const char* GetArgumentTypeName(uint8_t type);

// Finds network objects by id while values are read, and names an object's id while they are
// written. The replication manager implements it; values only borrow it.
class INetObjectResolver {
public:
    virtual ~INetObjectResolver() = default;
    virtual CBaseObject* FindNetObject(int32_t id) = 0;
    // False when the object is not (or no longer) registered.
    virtual bool GetNetObjectId(CBaseObject* pObject, int32_t& id) = 0;
};

class CArgument : public CRefCounted {
public:
    explicit CArgument(uint8_t type) : m_Type(type) {}
    ~CArgument() override { delete m_pInterface; }

    // A new empty value (false, "", 0, empty array/map/function/bytes); null for the kinds that
    // need a payload to exist (objects, language references) and for unknown tags.
    static CArgument* Create(uint8_t type);
    // The object's own CreateArgument() value; a nil value for null.
    static CArgument* Create(CBaseObject* pObject);
    // The empty element a container reads for a tag: Create's kinds, plus network objects when
    // a resolver can give their ids meaning. Null for any other tag.
    static CArgument* CreateElement(uint8_t type, INetObjectResolver* pResolver);

    uint8_t GetType() const { return m_Type; }
    const char* GetTypeName() const { return GetArgumentTypeName(m_Type); }

    bool IsNull() const { return m_Type == ARGUMENT_NIL || m_Type == ARGUMENT_UNDEFINED; }
    bool IsNumber() const {
        return m_Type == ARGUMENT_INTEGER || m_Type == ARGUMENT_FLOAT || m_Type == ARGUMENT_LONGINTEGER ||
               m_Type == ARGUMENT_DOUBLE;
    }
    bool IsObject() const { return m_Type == ARGUMENT_OBJECT || m_Type == ARGUMENT_NETOBJECT; }
    bool IsBoolean() const { return m_Type == ARGUMENT_BOOLEAN; }
    bool IsString() const { return m_Type == ARGUMENT_STRING; }
    bool IsVector2D() const { return m_Type == ARGUMENT_VECTOR2D; }
    bool IsVector3D() const { return m_Type == ARGUMENT_VECTOR3D; }
    bool IsVector4D() const { return m_Type == ARGUMENT_VECTOR4D; }
    bool IsMatrix4x4() const { return m_Type == ARGUMENT_MATRIX4X4; }
    bool IsArray() const { return m_Type == ARGUMENT_ARRAY; }
    bool IsMap() const { return m_Type == ARGUMENT_MAP; }
    bool IsFunction() const { return m_Type == ARGUMENT_FUNCTION; }
    bool IsBytes() const { return m_Type == ARGUMENT_BYTES; }

    // Conversions. Test the predicate first: the wrong kind reports an assertion and numeric
    // outputs stay unchanged. Integers convert with their low bits; floating values truncate
    // toward zero and saturate at the target's range (NaN gives 0).
    bool ToBoolean() const;
    const char* ToString(size_t* pLength = nullptr) const;
    void ToNumber(int32_t& value) const;
    void ToNumber(int64_t& value) const;
    void ToNumber(uint32_t& value) const;
    void ToNumber(uint64_t& value) const;
    void ToNumber(float& value) const;
    void ToNumber(double& value) const;
    void ToVector2D(CVector2D& value) const;
    void ToVector3D(CVector3D& value) const;
    void ToMatrix4x4(CMatrix4x4& value) const;
    CFunction* ToFunction() const;
    const uint8_t* ToBytes(size_t& length) const;
    // The stream a script Stream object holds; null for other objects or a closed stream.
    Stream* ToStream() const;
    // The object (borrowed); null for an unresolved network object.
    CBaseObject* ToObject() const;
    // The object when its reflected class is pClass or derives from it, else null.
    CBaseObject* ToObject(ReflectedClass* pClass) const;

    // A new value with count 1 equal to this one, or null when this kind cannot be copied.
    virtual CArgument* Clone() const;

    // Wire form: the payload only; the tag is the container's business.
    // Read fails cleanly on truncated, oversized or too deeply nested input.
    bool Read(Stream* pStream);
    // All or nothing: a value that cannot go on the wire (objects, functions, language
    // references, arrays over 255 elements, nesting deeper than MAX_VALUE_DEPTH) or a stream
    // that refuses the bytes fails the write and leaves the stream as it was.
    bool Write(Stream* pStream) const;
    // The payload size Write would produce; false when Write would refuse the value.
    bool GetSize(size_t& size) const;

    // Building blocks of the above, used by containers for their elements.
    virtual bool ReadPayload(CBinaryReader& in, int depth);
    virtual bool WritePayload(CBinaryWriter& out) const;
    // Whether the value can be written; logs why not.
    virtual bool CanWrite(int depth) const;
    virtual size_t GetPayloadSize() const;

    INetObjectResolver* GetNetObjectResolver() const { return m_pResolver; }
    void SetNetObjectResolver(INetObjectResolver* pResolver) { m_pResolver = pResolver; }

    // Interface object a native module sees this value through (made on first request, owned).
    IUserData* GetArgumentInterface() const { return m_pInterface; }
    void SetArgumentInterface(IUserData* pInterface) {
        delete m_pInterface;
        m_pInterface = pInterface;
    }

protected:
    IUserData* m_pInterface = nullptr;
    INetObjectResolver* m_pResolver = nullptr;
    uint8_t m_Type;
};

}  // namespace Ferrox3D
