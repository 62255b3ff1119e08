#pragma once

#include "Engine/kstring.h"
#include "sim/routes.h"

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <memory>
#include <vector>

namespace simtest {

inline QString text(const kstring &value)
{
    return QString::fromStdString(value);
}

// A GET of a service path as the program sends it, relative to "/Common/" unless absolute.
inline sim::Request get(const kstring &path, const QByteArray &cookies = {})
{
    const QString full = text(path).startsWith('/') ? text(path) : "/Common/" + text(path);
    sim::Request request;
    request.method = "GET";
    request.path = full.section('?', 0, 0);
    request.query = full.section('?', 1).toUtf8();
    request.cookies = cookies;
    return request;
}

inline sim::Request postForm(const kstring &path, const std::vector<kstring> &fields,
                             const QByteArray &cookies = {})
{
    sim::Request request = get(path, cookies);
    request.method = "POST";
    for (const kstring &field : fields)
        request.body += (request.body.isEmpty() ? "" : "&") + QByteArray::fromStdString(field);
    return request;
}

inline std::unique_ptr<pugi::xml_document> parse(const QByteArray &body)
{
    auto doc = std::make_unique<pugi::xml_document>();
    const auto result = doc->load_buffer(body.constData(), std::size_t(body.size()));
    return result ? std::move(doc) : nullptr;
}

// The session cookie "name=value" from a login answer, empty when none was set.
inline QByteArray sessionCookie(const sim::Response &response)
{
    for (const auto &[name, value] : response.headers) {
        if (name == "Set-Cookie")
            return value.split(';').front();
    }
    return {};
}

} // namespace simtest
