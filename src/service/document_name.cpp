// Kept free of the toolkit: the name is made of what the service sends.
#include "service/document_name.h"

#include "Engine/convert.h"

#include <string>

namespace {

bool allowedInFileName(unsigned char c)
{
    static const std::string forbidden = "/\\:*?\"<>|";
    return c >= 0x20 && c != 0x7F && forbidden.find(char(c)) == std::string::npos;
}

// The parts come from the service: nothing in them may lead out of the folder.
kstring safeFileName(kstring name)
{
    for (char &c : name) {
        if (!allowedInFileName(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

kstring childText(const pugi::xml_node &parent, const char *name)
{
    return parent.child(name).text().get();
}

} // namespace

kstring documentFileNameOf(const pugi::xml_node &document)
{
    const kstring fileName = childText(document, "FileName");
    const int userId = toInt(childText(document, "UserID"));
    kstring fetchedDate = childText(document, "FetchedDate");
    fetchedDate.replaceSubstr(":", "-");
    const kstring kind = fileName.substr(0, fileName.find('.'));
    return safeFileName(kind + "_" + std::to_string(userId) + "_" + fetchedDate + ".xml");
}
