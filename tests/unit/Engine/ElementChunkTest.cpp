// Element trees from XML text and from binary chunk files (plain, compressed, old versions).
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Engine/ArgumentArray.h"
#include "Engine/ArgumentKinds.h"
#include "Engine/ArgumentMap.h"
#include "Engine/BinaryIO.h"
#include "Engine/ChunkFile.h"
#include "Engine/DataChunks.h"
#include "Engine/ElementChunk.h"

using namespace Ferrox3D;

namespace {
std::unique_ptr<CElementChunk> FromXML(const std::string& xml) { return CElementChunk::LoadFromText(xml.data(), xml.size()); }

std::unique_ptr<CElementChunk> FromBytes(const std::string& bytes) {
    CMemoryStream stream(bytes.data(), bytes.size());
    return CElementChunk::Load(&stream);
}

std::string Bytes(CUnlimitedStream& s) { return {reinterpret_cast<const char*>(s.GetData()), s.GetLength()}; }

// Same names, texts, attributes, types and children all the way down.
::testing::AssertionResult SameTree(const CChunk& a, const CChunk& b) {
    if (a.GetName() != b.GetName() || a.GetTypeId() != b.GetTypeId() || a.GetChildCount() != b.GetChildCount())
        return ::testing::AssertionFailure() << "differs at <" << a.GetName() << "> vs <" << b.GetName() << ">";
    auto* ea = dynamic_cast<const CElementChunk*>(&a);
    auto* eb = dynamic_cast<const CElementChunk*>(&b);
    if (ea && eb && (ea->GetText() != eb->GetText() || ea->GetAttributes() != eb->GetAttributes()))
        return ::testing::AssertionFailure() << "text or attributes differ at <" << a.GetName() << ">";
    for (size_t i = 0; i < a.GetChildCount(); ++i)
        if (auto r = SameTree(*a.GetChild(i), *b.GetChild(i)); !r)
            return r;
    return ::testing::AssertionSuccess();
}

// Builds chunk records by hand, in the version-7/8 or version-6 form.
struct tRecordBuilder {
    CUnlimitedStream out;
    CBinaryWriter w{&out};
    uint32_t version;
    explicit tRecordBuilder(uint32_t v) : version(v) {}

    void Header(bool compressedMode = false) {
        w.WriteBytes("HBF", 3);
        w.WriteUInt8(compressedMode ? CHUNK_FILE_COMPRESSED : CHUNK_FILE_PLAIN);
        w.WriteUInt32(version);
        if (version > 7)
            w.WriteUInt32(0);
        w.WriteUInt32(CHUNK_ROOT);
    }
    // Name, payload and child count; the caller writes the children (type id + record) after.
    void Record(const std::string& name, const std::string& payload, uint32_t children) {
        if (version < 7) {
            w.WriteUInt16(static_cast<uint16_t>(name.size() + 1));
            w.WriteString(name);
            w.WriteUInt32(static_cast<uint32_t>(4 + payload.size()));
            w.WriteUInt32(static_cast<uint32_t>(payload.size()));
            w.WriteBytes(payload.data(), payload.size());
            w.WriteUInt16(static_cast<uint16_t>(children));
        } else {
            w.WriteString(name);
            w.WriteUInt32(static_cast<uint32_t>(payload.size()));
            w.WriteBytes(payload.data(), payload.size());
            w.WriteUInt32(children);
        }
    }
    void Element(const std::string& name, const std::string& text, uint32_t children) {
        w.WriteUInt32(CHUNK_ELEMENT);
        Record(name, ElementPayload(text), children);
    }
    static std::string ElementPayload(const std::string& text, const std::string& rawMap = std::string(1, '\0')) {
        CUnlimitedStream p;
        CBinaryWriter(&p).WriteString(text);
        p.Write(rawMap.data(), rawMap.size());
        return Bytes(p);
    }
    std::string Take() { return Bytes(out); }
};

const char* CONFIG_XML = R"(<?xml version="1.0"?>
<!-- server settings -->
<Config>
  <Port> 22000 </Port>
  <resource src="a"/>
  <RESOURCE src="b" extra="x"/>
  <mixed>lead<child/>tail</mixed>
  <childfirst><child/>tail</childfirst>
</Config>)";
}  // namespace

TEST(ElementXML, TextAttributesAndCaseInsensitiveLookup) {
    auto root = FromXML(CONFIG_XML);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetName(), "Config");
    EXPECT_EQ(root->GetChildCount(), 5u);
    EXPECT_EQ(root->FindElement("port")->GetText(), "22000");

    std::vector<std::string> sources;
    for (CElementChunk* e = root->FindElement("Resource"); e; e = root->FindElement("resource", e->GetIndex() + 1))
        sources.push_back(e->Attribute("src"));
    EXPECT_EQ(sources, (std::vector<std::string>{"a", "b"}));

    size_t length = 0;
    CElementChunk* second = root->FindElement("resource", 2);
    EXPECT_STREQ(second->Attribute("extra", &length), "x");
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(second->Attribute("EXTRA"), nullptr);  // attribute names are exact
    EXPECT_EQ(root->FindElement("missing"), nullptr);

    EXPECT_EQ(root->FindElement("mixed")->GetText(), "lead");
    EXPECT_EQ(root->FindElement("mixed")->GetChildCount(), 1u);
    EXPECT_EQ(root->FindElement("childfirst")->GetText(), "");
}

TEST(ElementXML, RefusedDocuments) {
    std::string nested;
    for (int i = 0; i < 300; ++i)
        nested += "<a>";
    for (int i = 0; i < 300; ++i)
        nested += "</a>";
    for (const std::string& xml : {std::string(""), std::string("<a><b></a>"), std::string("<!-- only -->"),
                                   std::string("just text"), nested})
        EXPECT_FALSE(FromXML(xml)) << xml.substr(0, 40);
}

TEST(ElementXML, ByteOrderMarksThroughLoad) {
    EXPECT_EQ(FromBytes("\xEF\xBB\xBF<a>x</a>")->GetText(), "x");
    const std::string utf16("\xFF\xFE<\0b\0>\0y\0<\0/\0b\0>\0", 18);
    auto e = FromBytes(utf16);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetName(), "b");
    EXPECT_EQ(e->GetText(), "y");
}

TEST(ChunkFile, RoundTripsXMLTrees) {
    auto original = FromXML(CONFIG_XML);
    ASSERT_TRUE(original);
    original->FindElement("port")->SetAttributeValue("number", {4, std::string("\x10\x20\0\0", 4)});
    for (bool compress : {false, true}) {
        CUnlimitedStream file;
        ASSERT_TRUE(WriteChunkFile(&file, *original, compress));
        EXPECT_EQ(static_cast<uint8_t>(Bytes(file)[3]), compress ? 0x5A : 0xFF);
        auto back = FromBytes(Bytes(file));
        ASSERT_TRUE(back) << compress;
        EXPECT_TRUE(SameTree(*original, *back)) << compress;
        EXPECT_EQ(back->FindElement("port")->Attribute("number"), nullptr);  // not a string
        EXPECT_EQ(back->GetParent(), nullptr);
    }
}

TEST(ChunkFile, VersionsSixSevenAndEight) {
    for (uint32_t version : {6u, 7u, 8u}) {
        tRecordBuilder b(version);
        b.Header();
        b.Record("", "", 1);
        b.Element("top", "hello", 2);
        b.Element("first", "", 0);
        b.w.WriteUInt32(4242);  // an unknown type keeps its bytes and does not stop reading
        b.Record("blob", "xyz", 0);
        auto top = FromBytes(b.Take());
        ASSERT_TRUE(top) << version;
        EXPECT_EQ(top->GetText(), "hello");
        EXPECT_EQ(top->GetVersion(), version);
        ASSERT_EQ(top->GetChildCount(), 2u);
        auto* blob = dynamic_cast<CDataChunk*>(top->GetChild(1));
        ASSERT_TRUE(blob);
        EXPECT_EQ(blob->GetTypeId(), 4242u);
        EXPECT_EQ(std::string(blob->m_Data.begin(), blob->m_Data.end()), "xyz");
    }
}

TEST(ChunkFile, HeadersThatFallBackToXML) {
    // An unknown mode or version is read as XML text, which these bytes are not.
    EXPECT_FALSE(FromBytes(std::string("HBF\0\x08\0\0\0", 8)));
    tRecordBuilder v9(9);
    v9.Header();
    v9.Record("", "", 1);
    v9.Element("top", "", 0);
    EXPECT_FALSE(FromBytes(v9.Take()));
}

TEST(ChunkFile, TopChunkMustBeAnElement) {
    tRecordBuilder b(8);
    b.Header();
    b.Record("", "", 1);
    b.w.WriteUInt32(CHUNK_DATA);
    b.Record("data", "abc", 0);
    EXPECT_FALSE(FromBytes(b.Take()));
}

TEST(ChunkFile, MalformedBodiesAreRefused) {
    tRecordBuilder good(8);
    good.Header();
    good.Record("", "", 1);
    good.Element("top", "text", 1);
    good.Element("child", "", 0);
    const std::string bytes = good.Take();
    ASSERT_TRUE(FromBytes(bytes));
    for (size_t cut = 1; cut < bytes.size(); ++cut)
        EXPECT_FALSE(FromBytes(bytes.substr(0, cut))) << cut;

    tRecordBuilder hugeCount(8);  // a child count no input can hold
    hugeCount.Header();
    hugeCount.Record("", "", 0xFFFFFFFF);
    EXPECT_FALSE(FromBytes(hugeCount.Take()));

    tRecordBuilder hugePayload(8);
    hugePayload.Header();
    hugePayload.Record("", "", 1);
    hugePayload.w.WriteUInt32(CHUNK_ELEMENT);
    hugePayload.w.WriteString("top");
    hugePayload.w.WriteUInt32(0x7FFFFFFF);
    EXPECT_FALSE(FromBytes(hugePayload.Take()));

    tRecordBuilder badMap(8);  // attribute map announcing more entries than bytes
    badMap.Header();
    badMap.Record("", "", 1);
    badMap.w.WriteUInt32(CHUNK_ELEMENT);
    badMap.Record("top", tRecordBuilder::ElementPayload("", "\xFF\xFF\xFF\x0F"), 0);
    EXPECT_FALSE(FromBytes(badMap.Take()));
}

TEST(ChunkFile, NestingDepthIsLimited) {
    auto chain = [](int depth) {
        tRecordBuilder b(8);
        b.Header();
        b.Record("", "", 1);
        for (int i = 0; i < depth; ++i)
            b.Element("e", "", i + 1 < depth ? 1 : 0);
        return b.Take();
    };
    EXPECT_TRUE(FromBytes(chain(MAX_ELEMENT_TREE_DEPTH)));
    EXPECT_FALSE(FromBytes(chain(MAX_ELEMENT_TREE_DEPTH + 1)));
}

TEST(ChunkFile, CompressedSizesAreChecked) {
    auto top = FromXML("<a b='c'>text</a>");
    CUnlimitedStream file;
    ASSERT_TRUE(WriteChunkFile(&file, *top, true));
    std::string bytes = Bytes(file);
    const size_t sizeAt = 12;  // magic, mode, version, ignored word
    auto withInflatedSize = [&](uint32_t size) {
        std::string b = bytes;
        for (int i = 0; i < 4; ++i)
            b[sizeAt + i] = static_cast<char>(size >> (8 * i));
        return b;
    };
    uint32_t real = static_cast<uint8_t>(bytes[sizeAt]) | static_cast<uint8_t>(bytes[sizeAt + 1]) << 8;
    EXPECT_TRUE(FromBytes(withInflatedSize(real)));
    EXPECT_FALSE(FromBytes(withInflatedSize(real + 1)));
    EXPECT_FALSE(FromBytes(withInflatedSize(real - 1)));
    EXPECT_FALSE(FromBytes(withInflatedSize(0xFFFFFFFF)));
    std::string corrupt = bytes;
    corrupt[corrupt.size() - 3] ^= 0x55;  // breaks the zlib checksum
    EXPECT_FALSE(FromBytes(corrupt));
}

TEST(Chunk, OrphanKeepsSiblingIndexes) {
    auto root = FromXML("<r><a/><b/><c/></r>");
    CChunk* a = root->GetChild(0);
    a->Orphan();
    delete a;
    ASSERT_EQ(root->GetChildCount(), 2u);
    EXPECT_EQ(root->GetChild(0)->GetName(), "b");
    EXPECT_EQ(root->GetChild(0)->GetIndex(), 1u);
    EXPECT_EQ(root->FindElement("c")->GetIndex(), 2u);
}

TEST(ElementAttributes, ScriptValuesSurviveAChunkFile) {
    CElementChunk top;
    top.SetName("map");
    auto* data = new CArgumentMap();
    auto* list = new CArgumentArray();
    list->AddNumber(static_cast<int32_t>(-7));
    list->AddString("x");
    data->Set("list", list);
    data->Set("f", CArgument::Create(ARGUMENT_DOUBLE));
    ASSERT_TRUE(top.SetAttributeArgument("data", *data));
    data->Release();
    CArgumentString text;
    text.SetString("plain");
    ASSERT_TRUE(top.SetAttributeArgument("name", text));

    CUnlimitedStream file;
    ASSERT_TRUE(WriteChunkFile(&file, top, true));
    auto back = FromBytes(Bytes(file));
    ASSERT_TRUE(back);
    EXPECT_STREQ(back->Attribute("name"), "plain");
    EXPECT_EQ(back->Attribute("data"), nullptr);
    CArgument* value = back->CreateAttributeArgument("data");
    ASSERT_TRUE(value);
    ASSERT_TRUE(value->IsMap());
    auto* map = static_cast<CArgumentMap*>(value);
    ASSERT_TRUE(map->Get("list") && map->Get("list")->IsArray());
    auto* items = static_cast<CArgumentArray*>(map->Get("list"));
    ASSERT_EQ(items->GetArrayCount(), 2u);
    int32_t number = 0;
    items->GetAt(0)->ToNumber(number);
    EXPECT_EQ(number, -7);
    EXPECT_STREQ(items->GetAt(1)->ToString(), "x");
    value->Release();
    EXPECT_EQ(back->CreateAttributeArgument("absent"), nullptr);
    CArgument* name = back->CreateAttributeArgument("name");
    EXPECT_STREQ(name->ToString(), "plain");
    name->Release();
}
