#include "service/version_check.h"

#include "Engine/errors.h"
#include "qt_text/qt_text.h"
#include "service/build_version.h"
#include "service/session.h"
#include "service/session_ui.h"

#include <string>

kstring versionText()
{
    return std::to_string(build::versionMajor) + "." + std::to_string(build::versionMinor) + "." +
           std::to_string(build::versionBuild);
}

kstring titleText()
{
    return "StrikoraKey " + versionText();
}

namespace {

// Only the build number, the third part, is compared, as text.
bool announcesOtherBuild(const kstring &publishedVersion)
{
    return publishedVersion.token(".", 3) != versionText().token(".", 3);
}

} // namespace

void checkVersion(Troot &session)
{
    kstring document;
    try {
        document = session.http().get(toKstring(session.versionUrl()));
    } catch (const ESocketError &) {
        return;
    } catch (const EResponseTooLarge &) {
        // Whatever the publisher sends in that much, it is not its version document.
        return;
    }
    session.loadXml(document);
    const pugi::xml_node published = session.xml.document_element();
    if (announcesOtherBuild(published.child("version").text().get()))
        session.ui().showDeveloperMessage(published.child("message").text().get());
}
