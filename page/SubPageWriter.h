#pragma once

#include "HostUi.h"
#include "SubPage.h"

#include <QString>

namespace quillet {

// The next-link box's initial text; an address equal to it means "no link".
inline const QString defaultNextLink = QStringLiteral("http://");

// True when the address asks for the "次へ" link block: it differs from ""
// and from "http://", compared exactly, without trimming or case folding.
bool hasNextLink(const QString& address);

// The page as text: its fixed lines, each followed by CR LF, with title,
// body and address inserted verbatim.
QString subPageText(const QString& title, const QString& body, const QString& nextLink);

// The page writer and the create command built on it. The preview command
// runs the same writer.
class SubPageWriter {
public:
    SubPageWriter(SubPageSource& fields, HostUi& host) : fields_(fields), host_(host) {}

    // Writes the page from the current fields to the output path, or asks
    // for a file name when none is chosen (a failure with nothing more to
    // tell). An empty next-link is reset to "http://" after a page was
    // written.
    Result<> hpmake();

    // The create command: writes the page and confirms it, or says why not.
    void Command1_Click();

    // Tells the user why a page could not be written; silent for any other
    // outcome.
    void reportFailure(const Result<>& result) const;

private:
    SubPageSource& fields_;
    HostUi& host_;
};

}  // namespace quillet
