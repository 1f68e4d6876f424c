// The commands that move text between the window and files: loading and
// saving the body, and choosing and clearing the output file.
#include "main1.h"

#include "BodyEditor.h"
#include "CodePage.h"
#include "TextFile.h"

#include <QLabel>
#include <QLineEdit>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString bodyFileFilter = u"html|*.html|text|*.txt|All Files|*.*|"_s;
const QString outputFileFilter = u"htmlﾌｧｲﾙ|*.html|All Files|*.*|"_s;

// Looks at the ending only, case-sensitively: "myhtml" passes, "TOP.HTML"
// does not.
bool isHtmlFileName(const QString& path)
{
    return path.endsWith(u"html"_s) || path.endsWith(u"htm"_s);
}

QString lossyCharactersQuestion(qsizetype count)
{
    return u"Shift-JIS で表せない文字が "_s + QString::number(count) +
           u" 文字あります。\nこれらの文字は「?」に置き換えて保存されます。\n保存しますか？"_s;
}

}  // namespace

void main1::Command2_Click()
{
    cob1.CancelError = true;
    cob1.Filter = bodyFileFilter;
    if (!host_.showOpen(cob1))
        return;
    const QString path = cob1.FileName;
    const Result<QString> read = host_.readTextFile(path);
    if (!read.ok()) {
        host_.msgBox(fileFailureText(u"ファイルを読み込めませんでした。"_s, path, read.error()));
        return;
    }
    rtext1->setText(read.value());
    rtext1->raise();
    module_.loadedFileName = path;
    host_.preloadEmbedded();  // a loaded document is usually previewed next

    if (isHtmlFileName(path)) {
        // A whole HTML document is being edited: the sub-page fields do
        // not apply until an output file is chosen again.
        setOutputPath(QString());
        Text1->setText(QString());
        Text2->setText(defaultNextLink);
        Text1->setReadOnly(true);
        Text2->setReadOnly(true);
    }
}

void main1::Command3_Click()
{
    cob1.CancelError = true;
    cob1.Filter = bodyFileFilter;
    cob1.DefaultExt = u"html"_s;
    if (!host_.showSave(cob1))
        return;
    const QString path = cob1.FileName;
    const QString text = rtext1->Text();

    const qsizetype lossy = cp932UnmappableCount(text);
    if (lossy > 0 &&
        host_.msgBox(lossyCharactersQuestion(lossy), MsgStyle::YesNoExclamation) != MsgAnswer::Yes)
        return;

    const Result<> written = host_.writeTextFile(path, text);
    if (!written.ok())
        host_.msgBox(fileFailureText(u"ファイルに書き込めませんでした。"_s, path, written.error()));
}

void main1::Command4_Click()
{
    cob1.CancelError = true;
    cob1.Filter = outputFileFilter;
    cob1.FileName = u"sub100.html"_s;
    if (!host_.showSave(cob1))
        return;
    const QString chosen = cob1.FileName;

    if (host_.existingFileName(chosen).isEmpty() ||
        host_.msgBox(u"\n"_s + chosen + u" のファイルに上書きしますか？\n"_s,
                     MsgStyle::YesNoExclamation, u"ファイル上書き確認"_s) == MsgAnswer::Yes) {
        setOutputPath(chosen);
        host_.preloadEmbedded();  // the page is made to be previewed
    }
    Text1->setReadOnly(false);
    Text2->setReadOnly(false);
}

void main1::Command5_Click()
{
    setOutputPath(QString());
}

}  // namespace quillet
