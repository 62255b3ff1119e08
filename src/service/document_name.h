#pragma once

#include "Engine/kstring.h"

#include <pugixml.hpp>

// The file name of a downloaded document inside the XML folder, from the document element's
// own fields: kind (FileName up to its first ".") + "_" + UserID + "_" + FetchedDate with ":"
// as "-" + ".xml". Characters a file name cannot hold become "_", so the name never leaves the
// folder. A UserID that is not an integer raises EConvertError.
kstring documentFileNameOf(const pugi::xml_node &document);
