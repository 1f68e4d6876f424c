#include "SubPageWriter.h"

#include "TextFile.h"

#include <QStringBuilder>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {
const QString crlf = u"\r\n"_s;
}  // namespace

bool hasNextLink(const QString& address)
{
    return !address.isEmpty() && address != defaultNextLink;
}

QString subPageText(const QString& title, const QString& body, const QString& nextLink)
{
    QString page = u"<HTML>"_s % crlf % u"<HEAD>"_s % crlf % u"<TITLE>"_s % title % u"</TITLE>"_s %
                   crlf % u"</HEAD>"_s % crlf % u"<BODY>"_s % crlf % u" "_s % crlf %
                   u"<div align=\"left\">"_s % crlf % body % crlf % u"</div>"_s % crlf;
    if (hasNextLink(nextLink)) {
        page += u"<center>"_s % crlf % u"<A href=\""_s % nextLink % u"\">次へ</A>"_s % crlf %
                u"</center>"_s % crlf;
    }
    page += u"<HR>"_s % crlf % u"</BODY>"_s % crlf % u"</HTML>"_s % crlf;
    return page;
}

Result<> SubPageWriter::hpmake()
{
    const QString path = fields_.outputPath();
    if (path.isEmpty()) {
        host_.msgBox(u"ファイル名を指定してください。"_s);
        return failure();  // told already
    }

    const QString nextLink = fields_.nextLink();
    Result<> written =
        host_.writeTextFile(path, subPageText(fields_.title(), fields_.body(), nextLink));
    if (written.ok() && nextLink.isEmpty())
        fields_.setNextLink(defaultNextLink);
    return written;
}

void SubPageWriter::Command1_Click()
{
    const Result<> result = hpmake();
    if (result.ok())
        host_.msgBox(u"作成しました。"_s);
    else
        reportFailure(result);  // an empty path was answered by the writer already
}

void SubPageWriter::reportFailure(const Result<>& result) const
{
    if (!result.ok() && !result.error().isEmpty())
        host_.msgBox(fileFailureText(u"ページを書き込めませんでした。"_s, fields_.outputPath(),
                                     result.error()));
}

}  // namespace quillet
