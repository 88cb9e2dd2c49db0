// Loading a document into an element tree: a binary chunk file, else XML text.
#include <tinyxml2.h>
#include "Engine/ChunkFile.h"
#include "Engine/ElementChunk.h"
#include "Engine/TextReader.h"

namespace Ferrox3D {

namespace {
using namespace tinyxml2;

// Text of the first child when it is a text node; other text, comments and
// processing instructions are dropped.
std::string FirstText(const XMLElement& element) {
    const XMLNode* first = element.FirstChild();
    const XMLText* text = first ? first->ToText() : nullptr;
    return text && text->Value() ? text->Value() : "";
}

bool ConvertElement(const XMLElement& from, CElementChunk& to, int depth) {
    if (depth > MAX_ELEMENT_TREE_DEPTH)
        return false;
    to.SetName(from.Name() ? from.Name() : "");
    to.SetText(FirstText(from));
    for (const XMLAttribute* a = from.FirstAttribute(); a; a = a->Next())
        to.SetAttribute(a->Name(), a->Value());  // a repeated name keeps the last value
    for (const XMLElement* child = from.FirstChildElement(); child; child = child->NextSiblingElement()) {
        CChunk* created = CChunkTypes::Global()._Create(CHUNK_ELEMENT);
        auto* element = dynamic_cast<CElementChunk*>(created);
        if (!element) {
            delete created;
            return false;
        }
        to.AddChild(element);
        if (!ConvertElement(*child, *element, depth + 1))
            return false;
    }
    return true;
}

std::unique_ptr<CElementChunk> TopElement(std::unique_ptr<CRootChunk> root) {
    CChunk* first = root->GetChild(0);
    auto* element = first && first->GetTypeId() == CHUNK_ELEMENT ? dynamic_cast<CElementChunk*>(first) : nullptr;
    if (!element)
        return nullptr;
    element->Orphan();
    return std::unique_ptr<CElementChunk>(element);
}
}  // namespace

std::unique_ptr<CElementChunk> CElementChunk::LoadFromText(const char* text, size_t length) {
    // Whitespace is condensed as the configuration and map files expect ("<port> 1 </port>" is "1").
    XMLDocument document(true, COLLAPSE_WHITESPACE);
    if (!text || document.Parse(text, length) != XML_SUCCESS)
        return nullptr;
    const XMLElement* top = document.FirstChildElement();
    if (!top)
        return nullptr;
    auto element = std::make_unique<CElementChunk>();
    if (!ConvertElement(*top, *element, 1))
        return nullptr;
    return element;
}

std::unique_ptr<CElementChunk> CElementChunk::Load(Stream* pStream) {
    if (!pStream)
        return nullptr;
    Strong<Stream> keep(pStream);
    uint64_t start = pStream->Tell();
    if (std::unique_ptr<CRootChunk> root = ReadChunkFile(pStream))
        return TopElement(std::move(root));
    if (!pStream->Seek(static_cast<int64_t>(start), SEEK_ORIGIN_START))
        return nullptr;
    CTextReader reader(pStream);
    if (reader.HasFailed())
        return nullptr;
    const std::string& text = reader.GetText();
    return LoadFromText(text.data(), text.size());
}

std::unique_ptr<CElementChunk> CElementChunk::LoadFromFile(const char* realPath) {
    Strong<Stream> file = Strong<Stream>::Adopt(realPath ? CStandardStream::Open(realPath, "rb") : nullptr);
    return file ? Load(file) : nullptr;
}

}  // namespace Ferrox3D
