// Wire form of script values: exact bytes, round trips, refusals and malformed input.
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include "ArgumentTestUtil.h"
#include "Engine/Limits.h"
#include "LogCapture.h"

using namespace Ferrox3D;

namespace {

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Strong<CArgumentArray> ReadArray(const Bytes& bytes, bool& ok, INetObjectResolver* pResolver = nullptr) {
    CMemoryStream stream(bytes.data(), bytes.size());
    auto array = Own(new CArgumentArray());
    array->SetNetObjectResolver(pResolver);
    ok = array->Read(&stream);
    return array;
}

class FakeObject : public CBaseObject {};

// Ids 1 and 2 are registered; everything else is unknown.
class FakeResolver : public INetObjectResolver {
public:
    FakeObject objects[2];
    CBaseObject* FindNetObject(int32_t id) override { return id == 1 || id == 2 ? &objects[id - 1] : nullptr; }
    bool GetNetObjectId(CBaseObject* pObject, int32_t& id) override {
        for (int i = 0; i < 2; ++i)
            if (pObject == &objects[i])
                return id = i + 1, true;
        return false;
    }
};

}  // namespace

TEST(ArgumentWire, PayloadBytesOfEachKind) {
    CMatrix4x4 identity;
    Bytes identityBytes;
    for (float f : {1.f, 0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f, 1.f}) {
        uint8_t b[4];
        memcpy(b, &f, 4);
        identityBytes.insert(identityBytes.end(), b, b + 4);
    }
    struct Case {
        const char* name;
        Strong<CArgument> value;
        Bytes bytes;
    };
    const Case cases[] = {
        {"nil", Own(CArgument::Create(ARGUMENT_NIL)), {}},
        {"undefined", Own(CArgument::Create(ARGUMENT_UNDEFINED)), {}},
        {"true", Own<CArgument>(new CArgumentBoolean(true)), {0x01}},
        {"empty string", Own<CArgument>(new CArgumentString("")), {0x00}},
        {"string", Own<CArgument>(new CArgumentString("ab")), {0x02, 'a', 'b'}},
        {"string of 128", Own<CArgument>(new CArgumentString(std::string(128, 'x').c_str())),
         Concat({{0x80, 0x01}, Bytes(128, 'x')})},
        {"integer", Own<CArgument>(new CArgumentInteger(-2)), {0xFE, 0xFF, 0xFF, 0xFF}},
        {"float", Own<CArgument>(new CArgumentFloat(1.0f)), {0x00, 0x00, 0x80, 0x3F}},
        {"long", Own<CArgument>(new CArgumentLongInteger(0x0102030405060708)), {8, 7, 6, 5, 4, 3, 2, 1}},
        {"double", Own<CArgument>(new CArgumentDouble(1.0)), {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"vector2", Own<CArgument>(new CArgumentVector2D({1.0f, 0.0f})), {0, 0, 0x80, 0x3F, 0, 0, 0, 0}},
        {"vector3", Own<CArgument>(new CArgumentVector3D({0.0f, 0.0f, 1.0f})), {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3F}},
        {"matrix", Own<CArgument>(new CArgumentMatrix4x4(identity)), identityBytes},
        {"empty bytes", Own<CArgument>(new CArgumentBytes(nullptr, 0)), {0x00}},
        {"bytes", Own<CArgument>(new CArgumentBytes("\x00\x01", 2)), {0x02, 0x00, 0x01}},
        {"empty array", Own(CArgument::Create(ARGUMENT_ARRAY)), {0x00}},
        {"empty map", Own(CArgument::Create(ARGUMENT_MAP)), {0x00}},
    };
    for (const Case& c : cases) {
        bool ok;
        EXPECT_EQ(WireBytes(*c.value, &ok), c.bytes) << c.name;
        EXPECT_TRUE(ok) << c.name;
        size_t size = 0;
        EXPECT_TRUE(c.value->GetSize(size)) << c.name;
        EXPECT_EQ(size, c.bytes.size()) << c.name;
    }
}

TEST(ArgumentWire, ContainersWriteTagsThenPayloads) {
    auto array = Own(new CArgumentArray());
    array->AddNumber(7);
    array->AddString("hi");
    array->AddNull();
    EXPECT_EQ(WireBytes(*array), (Bytes{3, ARGUMENT_INTEGER, 7, 0, 0, 0, ARGUMENT_STRING, 2, 'h', 'i', ARGUMENT_NIL}));

    auto map = Own(new CArgumentMap());
    map->Set("k", new CArgumentBoolean(true));
    EXPECT_EQ(WireBytes(*map), (Bytes{1, ARGUMENT_BOOLEAN, 1, 'k', 1}));
}

TEST(ArgumentWire, EveryStorableKindRoundTrips) {
    auto inner = Own(new CArgumentArray());
    inner->AddNumber(1.5);
    auto map = Own(new CArgumentMap());
    map->Set("alpha", new CArgumentString("a\0b", 3));
    map->Set("", new CArgumentLongInteger(-5));
    map->Set("nested", inner->Clone());

    CMatrix4x4 matrix;
    for (int i = 0; i < 16; ++i)
        matrix.Data()[i] = static_cast<float>(i) * 0.5f;
    auto array = Own(new CArgumentArray());
    array->AddNull();
    array->AddUndefined();
    array->AddBoolean(false);
    array->AddString("text with \0 inside", 18);
    array->AddNumber(int32_t(-123456));
    array->AddNumber(3.25f);
    array->AddNumber(int64_t(-9000000000));
    array->AddNumber(-0.1);
    array->AddVector2D({1, 2});
    array->AddVector3D({3, 4, 5});
    array->AddMatrix4x4(matrix);
    array->AddBytes("\xFF\x00\x7F", 3);
    array->Add(inner);
    array->Add(map);

    bool ok;
    Bytes bytes = WireBytes(*array, &ok);
    ASSERT_TRUE(ok);
    auto back = ReadArray(bytes, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(SameValue(array, back));
    size_t size;
    ASSERT_TRUE(array->GetSize(size));
    EXPECT_EQ(size, bytes.size());
}

TEST(ArgumentWire, BooleanReadsAnyNonZeroByteAsTrue) {
    bool ok;
    auto array = ReadArray({1, ARGUMENT_BOOLEAN, 2}, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(array->GetAt(0)->ToBoolean());
}

TEST(ArgumentWire, MalformedInputFailsCleanly) {
    Bytes deep;
    for (int i = 0; i < MAX_VALUE_DEPTH; ++i)
        deep.insert(deep.end(), {1, ARGUMENT_ARRAY});
    deep.push_back(0);
    Bytes deepMaps = {1, ARGUMENT_MAP};
    for (int i = 0; i < MAX_VALUE_DEPTH; ++i)
        deepMaps.insert(deepMaps.end(), {1, ARGUMENT_MAP, 1, 'k'});
    deepMaps.push_back(0);
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty input", {}},
        {"count beyond the data", {5, ARGUMENT_NIL}},
        {"truncated integer", {1, ARGUMENT_INTEGER, 1, 2}},
        {"truncated matrix", {1, ARGUMENT_MATRIX4X4, 0, 0, 0, 0}},
        {"string longer than the data", {1, ARGUMENT_STRING, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'a'}},
        {"six byte length prefix", {1, ARGUMENT_STRING, 0x80, 0x80, 0x80, 0x80, 0x80, 0x01}},
        {"bytes cut short", {1, ARGUMENT_BYTES, 4, 1, 2}},
        {"map count of four billion", {1, ARGUMENT_MAP, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, ARGUMENT_NIL, 0}},
        {"map key cut short", {1, ARGUMENT_MAP, 1, ARGUMENT_NIL, 9, 'k'}},
        {"map value of unknown kind", {1, ARGUMENT_MAP, 1, 99, 1, 'k'}},
        {"tag above 21", {1, 22}},
        {"table tag", {1, ARGUMENT_TABLE}},
        {"vector4 tag", {1, ARGUMENT_VECTOR4D}},
        {"object tag", {1, ARGUMENT_OBJECT}},
        {"network object without a manager", {1, ARGUMENT_NETOBJECT, 1, 0, 0, 0}},
        {"arrays nested too deep", deep},
        {"maps nested too deep", deepMaps},
    };
    for (const Case& c : cases) {
        bool ok = true;
        ReadArray(c.bytes, ok);
        EXPECT_FALSE(ok) << c.name;
    }
}

TEST(ArgumentWire, NestingJustInsideTheLimitReads) {
    Bytes bytes;
    for (int i = 0; i < MAX_VALUE_DEPTH - 1; ++i)
        bytes.insert(bytes.end(), {1, ARGUMENT_ARRAY});
    bytes.push_back(0);
    bool ok;
    auto array = ReadArray(bytes, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(WireBytes(*array), bytes);
}

TEST(ArgumentWire, UnreadableKindsLogTheirTagName) {
    const std::pair<uint8_t, const char*> kinds[] = {
        {ARGUMENT_NETOBJECT, "ARGUMENT_NETOBJECT"}, {ARGUMENT_OBJECT, "ARGUMENT_OBJECT"},
        {ARGUMENT_LUAREF, "ARGUMENT_LUAREF"},       {ARGUMENT_JSVALUE, "ARGUMENT_JSVALUE"},
        {ARGUMENT_SQREF, "ARGUMENT_SQREF"},         {200, "ARGUMENT_UNKNOWN"},
    };
    for (const auto& [tag, name] : kinds) {
        LogCapture log;
        bool ok;
        auto array = ReadArray({3, ARGUMENT_NIL, tag, ARGUMENT_NIL}, ok);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(log.Contains(std::string("CArgument::Create(") + name + ") - Failed. (Argument 2 of 3)")) << name;
        EXPECT_EQ(array->GetArrayCount(), 1u) << "elements read before the failure stay";
    }
}

TEST(ArgumentWire, RefusedWritesLeaveTheStreamAsItWas) {
    struct FakeFunction : CFunction {
        bool Call(CArgumentArray*, CReturnValue*) override { return true; }
    };
    auto function = Own(new FakeFunction());
    FakeObject object;
    auto tooLong = Own(new CArgumentArray());
    for (int i = 0; i < 256; ++i)
        tooLong->AddNull();
    auto tooDeep = Own(new CArgumentArray());
    CArgumentArray* pLevel = tooDeep;
    for (int i = 0; i < MAX_VALUE_DEPTH; ++i) {
        auto* pChild = new CArgumentArray();
        pLevel->AddAndOwn(pChild);
        pLevel = pChild;
    }
    auto withObject = Own(new CArgumentArray());
    withObject->AddNumber(1);
    withObject->AddObject(&object);
    auto withFunction = Own(new CArgumentArray());
    withFunction->AddFunction(function);
    auto mapWithFunction = Own(new CArgumentMap());
    mapWithFunction->Set("f", new CArgumentFunction(function));
    struct FakeLuaRef : CArgument {
        FakeLuaRef() : CArgument(ARGUMENT_LUAREF) {}
    };
    auto withLuaRef = Own(new CArgumentArray());
    withLuaRef->AddAndOwn(new FakeLuaRef());

    const std::pair<const char*, CArgument*> cases[] = {
        {"256 elements", tooLong},         {"nested too deep", tooDeep},
        {"object element", withObject},    {"function element", withFunction},
        {"function in a map", mapWithFunction}, {"language reference", withLuaRef},
    };
    for (const auto& [name, pValue] : cases) {
        CUnlimitedStream stream;
        stream.Write("abc", 3);
        EXPECT_FALSE(pValue->Write(&stream)) << name;
        EXPECT_EQ(stream.GetLength(), 3u) << name;
        EXPECT_EQ(stream.Tell(), 3u) << name;
        size_t size;
        EXPECT_FALSE(pValue->GetSize(size)) << name;
    }
}

TEST(ArgumentWire, ArrayOf255ElementsIsTheLongestWritten) {
    auto array = Own(new CArgumentArray());
    for (int i = 0; i < 255; ++i)
        array->AddBoolean(true);
    bool ok;
    Bytes bytes = WireBytes(*array, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes.size(), 1u + 255 * 2);
}

TEST(ArgumentWire, StreamWithoutRoomIsNotTouched) {
    auto array = Own(new CArgumentArray());
    array->AddString("hello");
    uint8_t buffer[4] = {9, 9, 9, 9};
    CMemoryStream stream(buffer, sizeof(buffer), CMemoryStream::MODE_WRITE);
    EXPECT_FALSE(array->Write(&stream));
    EXPECT_EQ(stream.Tell(), 0u);
    EXPECT_EQ(buffer[0], 9);
}

TEST(ArgumentWire, NetworkObjectsResolveThroughTheManager) {
    FakeResolver resolver;
    bool ok;
    // id 2 is registered, id 77 is not, -1 means none.
    Bytes bytes = {3, ARGUMENT_NETOBJECT, 2, 0, 0, 0, ARGUMENT_NETOBJECT, 77, 0, 0, 0,
                   ARGUMENT_NETOBJECT, 0xFF, 0xFF, 0xFF, 0xFF};
    auto array = ReadArray(bytes, ok, &resolver);
    ASSERT_TRUE(ok);
    EXPECT_EQ(array->GetAt(0)->ToObject(), &resolver.objects[1]);
    EXPECT_EQ(array->GetAt(1)->ToObject(), nullptr);
    EXPECT_EQ(static_cast<CArgumentNetObject*>(array->GetAt(1))->GetId(), 77);
    EXPECT_EQ(array->GetAt(2)->ToObject(), nullptr);
    EXPECT_EQ(WireBytes(*array), bytes) << "an unresolved id is written back as read";

    auto clone = Own(array->Clone());
    EXPECT_EQ(clone->GetNetObjectResolver(), &resolver);
    EXPECT_EQ(WireBytes(*clone), bytes);
}
