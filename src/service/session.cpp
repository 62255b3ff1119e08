#include "service/session.h"

#include "players/countries.h"
#include "qt_text/qt_text.h"
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
    bool askLogin(kstring &, kstring &, const kstring &) override { return false; }
    void loginRefused(const kstring &) override {}
    void connectionFailed(const kstring &) override {}
    void appendLog(const kstring &) override {}
    void downloadError(const kstring &) override {}
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
    loadXml(client.get(toKstring(mainUrl) + servicePaths::menu()));
    recommendedUrl = xml.document_element().child("RecommendedURL").text().get();
}

void Troot::login()
{
    kstring name = userName;
    kstring code = securityCode;
    const kstring retrying = std::exchange(failedRequest, {});
    if (!ui().askLogin(name, code, retrying))
        throw ECancel();
    userName = name;
    securityCode = code;
    loginProblem.clear();
    loginRefused = false;
    try {
        findServer();
        sendLogin();
    } catch (const ESocketError &error) {
        loginProblem = error.message();
        ui().connectionFailed(loginProblem);
    }
}

// The service answers a good login with a UserID; its value is not needed.
void Troot::sendLogin()
{
    const kstring response = client.get(commonUrl(servicePaths::login(userName, securityCode)));
    loadXml(response);
    log(response);
    const pugi::xml_node answer = xml.document_element();
    loggedIn = !answer.child("UserID").empty();
    if (loggedIn) {
        ++openedSessions;
        return;
    }
    const kstring serviceSays = answer.name() == std::string_view("Error")
                                    ? kstring(answer.text().get())
                                    : kstring(answer.child("Error").text().get());
    loginProblem = serviceSays.empty()
                       ? kstring("The service did not accept the user name and security code.")
                       : "The service did not accept the login: " + serviceSays;
    loginRefused = true;
}

// A refused login is said at once and asked again, the name kept and the code to be typed
// anew; the request that wanted the login then goes on with the new code. Cancel ends it.
void Troot::requireLogin()
{
    if (loggedIn)
        return;
    login();
    while (!loggedIn && loginRefused) {
        ui().loginRefused(loginProblem);
        securityCode.clear();
        login();
    }
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
    } catch (const EResponseTooLarge &) {
        // The same answer would come again after a new login.
        throw;
    } catch (const Exception &error) {
        failed = true;
        failedRequest = error.message();
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
    } catch (const EResponseTooLarge &) {
        throw;
    } catch (const Exception &error) {
        failed = true;
        failedRequest = error.message();
    }
    if (failed) {
        loggedIn = false;
        result = client.postForm(url, fields);
        // The repeat answered: the next login is no retry of a failed request.
        failedRequest.clear();
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
    throw EXmlError(unreadableAnswer(text, parsed.description()));
}

// Why a text cannot be read, in words: an empty answer is what a request gives without a
// session, so the login's own problem is the reason a user can act on.
kstring Troot::unreadableAnswer(const kstring &text, const char *parserSays) const
{
    if (text.find_first_not_of(" \t\r\n") == kstring::npos) {
        if (!loggedIn && !loginProblem.empty())
            return "There is no answer from the service, because the login did not succeed. " +
                   loginProblem;
        return kstring("The service sent an empty answer.");
    }
    return "The service's answer could not be read: it is not well-formed XML (" +
           kstring(parserSays) + ").";
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
