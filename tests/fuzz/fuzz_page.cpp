// The page writer's text on arbitrary fields: whatever the title, body and
// address hold, the page keeps its frame, and encodes.
#include "CodePage.h"
#include "SubPageWriter.h"

#include <QString>
#include <QStringList>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The input as UTF-16, cut into title, body and address at the first
    // two U+0000 units.
    const QString input(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QStringList fields = input.split(QChar(0));
    const QString title = fields.value(0);
    const QString body = fields.value(1);
    const QString link = fields.value(2);

    const QString page = quillet::subPageText(title, body, link);
    if (!page.startsWith(u"<HTML>\r\n<HEAD>\r\n<TITLE>"_s) ||
        !page.endsWith(u"<HR>\r\n</BODY>\r\n</HTML>\r\n"_s))
        std::abort();
    const bool linked =
        page.endsWith(u"\">次へ</A>\r\n</center>\r\n<HR>\r\n</BODY>\r\n</HTML>\r\n"_s);
    if (linked != quillet::hasNextLink(link))
        std::abort();
    if (quillet::toCp932(page).size() < page.toUcs4().size())
        std::abort();  // every character (a surrogate pair is one) takes a byte or more
    return 0;
}
