// Script values in memory: creation, conversions, containers, cloning and ownership.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "ArgumentTestUtil.h"
#include "Engine/Reflection.h"

using namespace Ferrox3D;

namespace {
class FakeObject : public CBaseObject {};
struct FakeFunction : CFunction {
    bool Call(CArgumentArray*, CReturnValue*) override { return true; }
};
}  // namespace

TEST(Argument, CreateMakesOnlyTheKindsThatNeedNoPayload) {
    for (int tag = 0; tag < 256; ++tag) {
        auto value = Own(CArgument::Create(static_cast<uint8_t>(tag)));
        bool expected = tag <= ARGUMENT_BYTES && tag != ARGUMENT_TABLE && tag != ARGUMENT_NETOBJECT &&
                        tag != ARGUMENT_OBJECT && tag != ARGUMENT_VECTOR4D && tag != ARGUMENT_LUAREF &&
                        tag != ARGUMENT_JSVALUE && tag != ARGUMENT_SQREF;
        EXPECT_EQ(value != nullptr, expected) << tag;
        if (value)
            EXPECT_EQ(value->GetType(), tag);
    }
    EXPECT_STREQ(GetArgumentTypeName(ARGUMENT_NETOBJECT), "element");
    EXPECT_STREQ(GetArgumentTypeName(22), "unknown");
    EXPECT_STREQ(GetArgumentTagName(ARGUMENT_BYTES), "ARGUMENT_BYTES");
}

TEST(Argument, ObjectsBecomeObjectValuesAndNullBecomesNil) {
    auto* pObject = new FakeObject();
    auto value = Own(CArgument::Create(pObject));
    EXPECT_EQ(value->GetType(), ARGUMENT_OBJECT);
    EXPECT_EQ(value->ToObject(), pObject);
    EXPECT_EQ(pObject->GetRefCount(), 2);
    pObject->Release();
    EXPECT_EQ(Own(CArgument::Create(static_cast<CBaseObject*>(nullptr)))->GetType(), ARGUMENT_NIL);
}

TEST(Argument, NumberConversionsSaturateAndKeepIntegerBits) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double input;
        int32_t i32;
        uint32_t u32;
        int64_t i64;
        uint64_t u64;
    };
    const Case cases[] = {
        {-1.75, -1, 0xFFFFFFFFu, -1, ~0ull},
        {nan, 0, 0, 0, 0},
        {1e10, INT32_MAX, 1410065408u, 10000000000, 10000000000ull},
        {-1e30, INT32_MIN, 0, INT64_MIN, 0x8000000000000000ull},
        {4278255360.0, INT32_MAX, 0xFF00FF00u, 4278255360, 4278255360ull},
        {9223372036854775808.0, INT32_MAX, 0, INT64_MAX, 0x8000000000000000ull},
        {1e30, INT32_MAX, 0xFFFFFFFFu, INT64_MAX, ~0ull},
        {INFINITY, INT32_MAX, 0xFFFFFFFFu, INT64_MAX, ~0ull},
    };
    for (const Case& c : cases) {
        for (auto value : {Own<CArgument>(new CArgumentDouble(c.input)),
                           Own<CArgument>(new CArgumentFloat(static_cast<float>(c.input)))}) {
            if (value->GetType() == ARGUMENT_FLOAT && static_cast<double>(static_cast<float>(c.input)) != c.input &&
                !std::isnan(c.input))
                continue;  // the float rounds differently; the double row covers it
            int32_t i32 = 7;
            uint32_t u32 = 7;
            int64_t i64 = 7;
            uint64_t u64 = 7;
            value->ToNumber(i32);
            value->ToNumber(u32);
            value->ToNumber(i64);
            value->ToNumber(u64);
            EXPECT_EQ(i32, c.i32) << c.input;
            EXPECT_EQ(u32, c.u32) << c.input;
            EXPECT_EQ(i64, c.i64) << c.input;
            EXPECT_EQ(u64, c.u64) << c.input;
        }
    }
    int32_t low = 0;
    CArgumentLongInteger(0x100000005).ToNumber(low);
    EXPECT_EQ(low, 5) << "integers keep their low bits";
    double d = 0;
    CArgumentInteger(-3).ToNumber(d);
    EXPECT_EQ(d, -3.0);
}

TEST(Argument, WrongKindConversionsLeaveTheOutputAlone) {
    CArgumentString text("12");
    int32_t value = 42;
    text.ToNumber(value);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(text.ToFunction(), nullptr);
    EXPECT_EQ(CArgumentInteger(1).ToString(), nullptr);
}

TEST(Argument, AddNumberChoosesTheKindByWidth) {
    CArgumentArray array;
    array.AddNumber(uint32_t(0xFFFFFFFF));
    array.AddNumber(int8_t(-2));
    array.AddNumber(uint64_t(1) << 40);
    array.AddNumber(1.5f);
    array.AddNumber(2.5);
    EXPECT_EQ(array.GetAt(0)->GetType(), ARGUMENT_INTEGER);
    int32_t bits;
    array.GetAt(0)->ToNumber(bits);
    EXPECT_EQ(bits, -1);
    EXPECT_EQ(array.GetAt(1)->GetType(), ARGUMENT_INTEGER);
    EXPECT_EQ(array.GetAt(2)->GetType(), ARGUMENT_LONGINTEGER);
    EXPECT_EQ(array.GetAt(3)->GetType(), ARGUMENT_FLOAT);
    EXPECT_EQ(array.GetAt(4)->GetType(), ARGUMENT_DOUBLE);
    EXPECT_EQ(array.GetAt(5), nullptr);
}

TEST(Argument, StringsKeepEmbeddedNulsAndTheirLength) {
    CArgumentString text("a\0b", 3);
    size_t length = 0;
    const char* p = text.ToString(&length);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(std::string(p, length), std::string("a\0b", 3));
    EXPECT_EQ(p[3], '\0');
    text.SetString("xyz");
    EXPECT_EQ(text.GetLength(), 3u);
}

TEST(Argument, ClonesCopyPayloadsAndShareObjectsAndFunctions) {
    auto* pObject = new FakeObject();
    auto* pFunction = new FakeFunction();
    auto array = Own(new CArgumentArray());
    array->AddObject(pObject);
    array->AddFunction(pFunction);
    array->AddString("s");
    auto inner = Own(new CArgumentArray());
    inner->AddNumber(1);
    array->Add(inner);
    EXPECT_EQ(pObject->GetRefCount(), 2);

    auto clone = Own(static_cast<CArgumentArray*>(array->Clone()));
    EXPECT_TRUE(SameValue(array, clone));
    EXPECT_NE(clone->GetAt(2), array->GetAt(2));
    EXPECT_NE(clone->GetAt(3), array->GetAt(3));
    EXPECT_EQ(pObject->GetRefCount(), 3);
    EXPECT_EQ(pFunction->GetRefCount(), 3);
    clone.Reset();
    array.Reset();
    EXPECT_EQ(pObject->GetRefCount(), 1);
    EXPECT_EQ(pFunction->GetRefCount(), 1);
    pObject->Release();
    pFunction->Release();
}

TEST(Argument, UncopyableElementsBecomeUndefined) {
    struct FakeJSValue : CArgument {
        FakeJSValue() : CArgument(ARGUMENT_JSVALUE) {}
    };
    FakeJSValue jsValue;
    CArgumentArray array;
    array.Add(&jsValue);
    array.Add(nullptr);
    EXPECT_EQ(array.GetAt(0)->GetType(), ARGUMENT_UNDEFINED);
    EXPECT_EQ(array.GetAt(1)->GetType(), ARGUMENT_UNDEFINED);
}

TEST(Argument, MoveAndInsertKeepOrder) {
    CArgumentArray source, target, copies;
    source.AddNumber(1);
    source.AddNumber(2);
    CArgument* pFirst = source.GetAt(0);
    source.InsertTo(&copies);
    source.Move(&target);
    EXPECT_EQ(source.GetArrayCount(), 0u);
    ASSERT_EQ(target.GetArrayCount(), 2u);
    EXPECT_EQ(target.GetAt(0), pFirst);
    EXPECT_EQ(pFirst->GetRefCount(), 1);
    EXPECT_TRUE(SameValue(&target, &copies));
    EXPECT_NE(copies.GetAt(0), pFirst);
}

TEST(Argument, MapOwnsItsValues) {
    CArgumentMap map;
    auto* pValue = new CArgumentInteger(1);
    map.Set("Key", pValue);
    map.Set("Key", pValue);  // the value it already holds: nothing changes
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(pValue->GetRefCount(), 1);
    EXPECT_EQ(map.Get("key"), nullptr) << "keys are case-sensitive";

    pValue->AddRef();
    map.Set("Key", new CArgumentInteger(2));
    EXPECT_EQ(pValue->GetRefCount(), 1) << "the replaced value was released";
    pValue->Release();
    EXPECT_TRUE(map.Remove("Key"));
    EXPECT_FALSE(map.Remove("Key"));
}

TEST(Argument, ToObjectWithAClassWalksBaseClasses) {
    ReflectedClass base("Element", nullptr), derived("Vehicle", &base), other("Timer", nullptr);
    FakeObject object;
    object.SetReflectedClass(&derived);
    CArgumentNetObject value(&object, 5);
    EXPECT_EQ(value.ToObject(&base), &object);
    EXPECT_EQ(value.ToObject(&derived), &object);
    EXPECT_EQ(value.ToObject(&other), nullptr);
    EXPECT_EQ(CArgumentNetObject(nullptr, 5).ToObject(&base), nullptr);
}
