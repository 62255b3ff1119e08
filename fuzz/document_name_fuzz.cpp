// A downloaded document names its own file; whatever it says, the name stays one plain file
// name inside the XML folder.
#include "fuzz_support.h"
#include "service/document_name.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    pugi::xml_document document;
    if (!fuzz::parse(document, fuzz::text(data, size)))
        return 0;
    kstring name;
    if (!fuzz::readerAccepts([&] { name = documentFileNameOf(document.document_element()); }))
        return 0;
    const std::string_view n(name.data(), name.size());
    fuzz::check(n.size() > 4 && n.substr(n.size() - 4) == ".xml", "not an .xml name");
    fuzz::check(n != "." && n != "..", "a name that is a folder");
    for (const char c : n) {
        const auto byte = static_cast<unsigned char>(c);
        fuzz::check(byte >= 0x20 && byte != 0x7F, "a control character in the name");
        fuzz::check(std::string_view("/\\:*?\"<>|").find(c) == std::string_view::npos,
                    "a character a file name cannot hold");
    }
    return 0;
}
