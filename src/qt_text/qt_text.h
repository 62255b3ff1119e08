#pragma once

#include "Engine/kstring.h"

#include <QString>

#include <string>
#include <string_view>

// The one crossing between the program's UTF-8 texts and the toolkit's texts.
inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline kstring toKstring(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return kstring(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}
