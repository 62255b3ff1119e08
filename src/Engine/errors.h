#pragma once

#include <exception>
#include <string>

// Failures are exceptions carrying a message; callers tell them apart by type.
class Exception : public std::exception
{
public:
    explicit Exception(std::string message = {}) : msg(std::move(message)) {}
    const char *what() const noexcept override { return msg.c_str(); }
    const std::string &message() const noexcept { return msg; }

private:
    std::string msg;
};

#define STRIKORA_ERROR_CLASS(Name)                                                                 \
    class Name : public Exception                                                                  \
    {                                                                                              \
    public:                                                                                        \
        using Exception::Exception;                                                                \
    }

// The user cancelled the login dialog; carries no data.
STRIKORA_ERROR_CLASS(ECancel);
// A text that is not the number it should be.
STRIKORA_ERROR_CLASS(EConvertError);
// An index, name or moment outside what is there.
STRIKORA_ERROR_CLASS(ERangeError);
// A value read as a kind it does not hold.
STRIKORA_ERROR_CLASS(EInvalidCast);
// An object used through a pointer it does not have.
STRIKORA_ERROR_CLASS(EInvalidPointer);
// No connection, refused, host not found, reset, time-out.
STRIKORA_ERROR_CLASS(ESocketError);
// An answer larger than the client takes; a new login would bring the same answer.
STRIKORA_ERROR_CLASS(EResponseTooLarge);
// The server answered with a status of 400 or more.
STRIKORA_ERROR_CLASS(EHttpError);
// A text that is not well-formed XML.
STRIKORA_ERROR_CLASS(EXmlError);

#undef STRIKORA_ERROR_CLASS

// Runs `work`: ECancel (the user cancelled) ends it without a word; any other error's message
// goes to `report`, an error that is no std::exception with the empty text. Event handlers run
// their work this way, so no exception crosses the toolkit.
template <typename Work, typename Report> void reportingErrors(Work &&work, Report &&report)
{
    try {
        work();
    } catch (const ECancel &) {
    } catch (const std::exception &error) {
        report(std::string(error.what()));
    } catch (...) {
        report(std::string());
    }
}
