// The commands that show the page: in the window's own pane, or in the
// user's browser.
#include "main1.h"

#include "BodyEditor.h"
#include "HandsetPage.h"
#include "TextFile.h"

#include <QLabel>

#include <tuple>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

namespace {

// The same words whether the pane or the user's browser refused the page.
void sayNotShown(HostUi& host, const QString& path, const QString& reason)
{
    host.msgBox(fileFailureText(u"ページを表示できませんでした。"_s, path, reason));
}

}  // namespace

Result<> main1::showInPane(const QString& path, PageOrigin origin)
{
    const Series series = series_;
    const auto reading = [series](const QString& page, const QString& folder) {
        return pageAsHandsetReads(page, series, pictureBytes(page, folder)).html;
    };
    Result<> result =
        host_.navigateEmbedded(WebBrowser1, path, origin, handsetSeries(series).screen, reading);
    if (result.ok())
        shown_ = Shown{path, origin};
    return result;
}

void main1::showPage(const QString& path, PageOrigin origin)
{
    const Result<> result = showInPane(path, origin);
    if (!result.ok())
        sayNotShown(host_, path, result.error());
}

void main1::Command6_Click()
{
    // A whole HTML document read from a file is shown as it stands on disk;
    // both parts of the test are always evaluated.
    const bool bodyIsDocument = rtext1->Text().left(6).toUpper() == u"<HTML>"_s;
    const bool fileWasLoaded = !module_.loadedFileName.isEmpty();
    if (bodyIsDocument && fileWasLoaded) {
        showPage(module_.loadedFileName, PageOrigin::Loaded);
        return;
    }
    if (outputPath().isEmpty()) {
        host_.msgBox(u"上の作成ファイル名の指定をして下さい"_s);
        return;
    }
    // The pane shows the file even when it could not be rewritten; the user
    // is then told, so the old page is not taken for the new one. What kept
    // the page from being written (a pipe at the path, say) also keeps it
    // from being shown, and is told once.
    const Result<> written = writer_.hpmake();
    if (!written.ok()) {
        std::ignore = showInPane(outputPath(), PageOrigin::Written);  // its refusal is the writer's
        writer_.reportFailure(written);
    } else {
        showPage(outputPath(), PageOrigin::Written);
    }
}

void main1::Label1_DblClick()
{
    const QString path = outputPath();
    const bool html = path.right(4).toLower() == u"html"_s || path.right(3).toLower() == u"htm"_s;
    if (!html)
        return;
    // Refused as the preview refuses it; nothing to say if no browser starts.
    const Result<> opened = host_.openInStandaloneBrowser(path);
    if (!opened.ok() && !opened.error().isEmpty())
        sayNotShown(host_, path, opened.error());
}

}  // namespace quillet
