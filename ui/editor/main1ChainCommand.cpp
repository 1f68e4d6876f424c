// The body written as a chain of sub-pages, each linked to the next by its
// "次へ", with the one writer's lines.
#include "main1.h"

#include "PageChainDialog.h"
#include "PageSize.h"
#include "TextFile.h"

#include <QFileInfo>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// The files of the chain that would be replaced. The first page's is the
// output file, whose overwriting was settled when it was chosen, and which
// ＨＰ作成 and the preview replace without a question.
QStringList replacedFiles(const PageChain& chain, HostUi& host)
{
    QStringList names;
    for (qsizetype page = 1; page < chain.pages.size(); ++page) {
        if (const QString name = host.existingFileName(chain.pages[page].path); !name.isEmpty())
            names.append(name);
    }
    return names;
}

QString overwriteQuestion(const QStringList& names)
{
    constexpr qsizetype listed = 10;
    QString list = names.first(std::min(listed, names.size())).join(u'\n');
    if (names.size() > listed)
        list += u"\nほか "_s + QString::number(names.size() - listed) + u" 個"_s;
    return u"\n"_s + list + u"\nのファイルに上書きしますか？\n"_s;
}

}  // namespace

void main1::mnuSplitPages_Click()
{
    if (outputPath().isEmpty()) {
        host_.msgBox(u"ファイル名を指定してください。"_s);  // the writer's own words
        return;
    }
    PageChainDialog dialog({outputPath(), title(), body(), nextLink(), std::nullopt, true}, series_,
                           this);
    if (host_.execDialog(dialog) != QDialog::Accepted || dialog.chain().pages.isEmpty())
        return;
    const PageChain& chain = dialog.chain();

    if (const QStringList replaced = replacedFiles(chain, host_);
        !replaced.isEmpty() && host_.msgBox(overwriteQuestion(replaced), MsgStyle::YesNoExclamation,
                                            u"ファイル上書き確認"_s) != MsgAnswer::Yes)
        return;

    QList<std::pair<QString, QString>> files;
    files.reserve(chain.pages.size());
    for (const ChainPage& page : chain.pages)
        files.append({page.path, subPageText(page.title, page.body, page.nextLink)});
    if (const Result<> written = host_.writeTextFiles(files); !written.ok()) {
        host_.msgBox(fileFailureText(u"ページを書き込めませんでした。"_s, written.failedPath(),
                                     written.error()));
        return;
    }
    host_.msgBox(groupedNumber(chain.pages.size()) + u" ページを作成しました。"_s);
    // As written: the preview would write the whole body over the first.
    showPage(chain.pages.constFirst().path, PageOrigin::Written);
}

}  // namespace quillet
