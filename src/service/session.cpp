#include "service/session.h"

#include "players/countries.h"
#include "service/service_paths.h"
#include "service/session_ui.h"

#include <string>
#include <utility>

Troot *root = nullptr;

namespace {

// Stands in while no window is attached: nobody can answer the login dialog.
class AbsentUi : public SessionUi
{
public:
    bool askLogin(kstring &, kstring &) override { return false; }
    void connectionFailed() override {}
    void appendLog(const kstring &) override {}
    void downloadError() override {}
    void showDeveloperMessage(const kstring &) override {}
};

} // namespace

Troot::Troot(QString serviceUrl, QString versionUrl)
    : mainUrl(std::move(serviceUrl)), publisherUrl(std::move(versionUrl))
{
    fillCountryIds(countryIds);
}

Troot::~Troot() = default;

void Troot::setUi(SessionUi *ui)
{
    userInterface = ui;
}

SessionUi &Troot::ui() const
{
    static AbsentUi absent;
    return userInterface ? *userInterface : absent;
}

void Troot::findServer()
{
    loadXml(client.get(mainUrl.toStdString() + servicePaths::menu()));
    recommendedUrl = xml.document_element().child("RecommendedURL").text().get();
}

void Troot::login()
{
    kstring name = userName;
    kstring code = securityCode;
    if (!ui().askLogin(name, code))
        throw ECancel();
    userName = name;
    securityCode = code;
    try {
        findServer();
        sendLogin();
    } catch (const ESocketError &) {
        ui().connectionFailed();
    }
}

// The service answers a good login with a UserID; its value is not needed.
void Troot::sendLogin()
{
    const kstring response = client.get(commonUrl(servicePaths::login(userName, securityCode)));
    loadXml(response);
    log(response);
    loggedIn = !xml.document_element().child("UserID").empty();
}

void Troot::requireLogin()
{
    if (!loggedIn)
        login();
}

kstring Troot::fetch(const kstring &path)
{
    requireLogin();
    if (!loggedIn)
        return {};
    kstring result;
    bool failed = false;
    try {
        result = client.get(commonUrl(path));
    } catch (const Exception &) {
        failed = true;
    }
    // Each repeat first shows the login dialog again, so the user ends the cycle by Cancel.
    if (failed) {
        loggedIn = false;
        result = fetch(path);
    }
    log(result);
    return result;
}

kstring Troot::post(const kstring &path, const std::vector<kstring> &fields)
{
    requireLogin();
    if (!loggedIn)
        return {};
    const kstring url = commonUrl(path);
    kstring result;
    bool failed = false;
    try {
        result = client.postForm(url, fields);
    } catch (const Exception &) {
        failed = true;
    }
    if (failed) {
        loggedIn = false;
        result = client.postForm(url, fields);
    }
    log(result);
    return result;
}

void Troot::loadXml(const kstring &text)
{
    xml.reset();
    const pugi::xml_parse_result parsed = xml.load_buffer(text.data(), text.size());
    if (parsed)
        return;
    // Readers must not see a half-parsed document.
    xml.reset();
    throw EXmlError(std::string("Not well-formed XML: ") + parsed.description() + " at offset " +
                    std::to_string(parsed.offset));
}

void Troot::log(const kstring &response)
{
    ui().appendLog(response);
}

Team *Troot::currentTeam()
{
    if (!cachedCurrentTeam && !teams.empty())
        cachedCurrentTeam = teams.begin()->second;
    return cachedCurrentTeam;
}

kstring Troot::commonUrl(const kstring &path) const
{
    return recommendedUrl + servicePaths::commonFolder + path;
}
