// The test client's view of script values on the wire: enough to send network events and read client data.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "Engine/BinaryIO.h"

namespace TestClient {

enum eWireTag : uint8_t {
    WIRE_NIL = 0,
    WIRE_BOOLEAN = 1,
    WIRE_STRING = 2,
    WIRE_INTEGER = 4,
    WIRE_FLOAT = 5,
    WIRE_NETOBJECT = 6,
    WIRE_VECTOR2D = 8,
    WIRE_VECTOR3D = 9,
    WIRE_MATRIX4X4 = 11,
    WIRE_UNDEFINED = 12,
    WIRE_LONGINTEGER = 15,
    WIRE_DOUBLE = 16,
    WIRE_ARRAY = 17,
    WIRE_MAP = 18,
    WIRE_FUNCTION = 19,
    WIRE_BYTES = 21,
};

// A scalar value to send: nil, boolean, string, integer or double.
struct tWireValue {
    eWireTag m_Tag = WIRE_NIL;
    bool m_Boolean = false;
    int64_t m_Integer = 0;
    double m_Double = 0.0;
    std::string m_Text;

    static tWireValue Nil() { return {}; }
    static tWireValue Boolean(bool b);
    static tWireValue String(std::string text);
    static tWireValue Integer(int32_t i);
    static tWireValue Double(double d);
};

// The payload of an argument array: count byte, then tag and payload of each value.
bool WriteWireArray(Ferrox3D::CBinaryWriter& writer, const std::vector<tWireValue>& values);

// Reads one payload of the given tag and renders it as text (strings as-is, numbers in decimal,
// containers as [..] and {..}); false on a malformed or unknown payload.
bool ReadWireValue(Ferrox3D::CBinaryReader& reader, uint8_t tag, std::string& rendered, int depth = 0);

}  // namespace TestClient
