// The editor window's hot paths: the body change handler (read the body,
// count, set the label) and the preview, from the click to the page loaded
// in the pane. Runs without a display.
#include "QtHostUi.h"
#include "main1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

QString mixedBody(qsizetype codeUnits)
{
    const QString pattern = u"今日のお知らせ: Shop open 10:00-19:00。<br>\r\n"_s;
    return pattern.repeated(codeUnits / pattern.size() + 1).left(codeUnits);
}

// The real host, except that the save dialog always picks one file and no
// box waits for an answer.
class BenchHost final : public HostUi {
public:
    explicit BenchHost(QString outputPath) : outputPath_(std::move(outputPath)) {}

    int msgBox(const QString&, int, const QString&) override { return MsgAnswer::Yes; }
    bool showOpen(CommonDialog&) override { return false; }
    bool showSave(CommonDialog& dialog) override
    {
        dialog.FileName = outputPath_;
        return true;
    }
    FileResult writeTextFile(const QString& path, const QString& text) override
    {
        return real_.writeTextFile(path, text);
    }
    TextReadResult readTextFile(const QString& path) override { return real_.readTextFile(path); }
    QString existingFileName(const QString& path) override { return real_.existingFileName(path); }
    void sendKeys(QWidget* target, const QString& keys) override { real_.sendKeys(target, keys); }
    FileResult navigateEmbedded(QWidget* frame, const QString& address, PageOrigin origin) override
    {
        return real_.navigateEmbedded(frame, address, origin);
    }
    bool openInStandaloneBrowser(const QString&) override { return false; }
    void showWindow(QWidget* window) override { real_.showWindow(window); }

private:
    QtHostUi real_;
    QString outputPath_;
};

void BM_BodyChange(benchmark::State& state)
{
    BenchHost host{QString()};
    main1 window(host);
    const QString body = mixedBody(state.range(0) / 2);
    window.findChild<QPlainTextEdit*>(u"rtext1"_s)->setPlainText(body);
    for (auto _ : state) window.rtext1_Change();
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Clicks the preview and waits until the pane has loaded the page.
bool previewAndWait(main1& window)
{
    window.Command6_Click();
    QWidget* view = window.findChild<QWidget*>(u"WebEngineView"_s);
    if (!view)
        return false;
    QEventLoop loop;
    QObject::connect(view, SIGNAL(loadFinished(bool)), &loop, SLOT(quit()));
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return true;
}

// The first preview of a run starts the browser engine; later ones reuse it.
void BM_Preview(benchmark::State& state)
{
    QTemporaryDir dir;
    BenchHost host(dir.filePath(u"sub100.html"_s));
    main1 window(host);
    window.show();
    window.Command4_Click();
    auto* body = window.findChild<QPlainTextEdit*>(u"rtext1"_s);
    const QString text = mixedBody(1024);  // a 2 KiB body, as pages should be
    body->setPlainText(text);
    if (state.range(0) == 1 && !previewAndWait(window))  // warm: engine already up
        state.SkipWithError("no browser engine");
    int round = 0;
    for (auto _ : state) {
        body->setPlainText(text + QString::number(++round));  // a page to rewrite each time
        if (!previewAndWait(window))
            state.SkipWithError("no browser engine");
    }
}

// Opening the help window draws its picture from a sample editor window.
void BM_HelpPicture(benchmark::State& state)
{
    BenchHost host{QString()};
    for (auto _ : state) benchmark::DoNotOptimize(main1::renderHelpPicture(host));
}

}  // namespace

BENCHMARK(BM_HelpPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BodyChange)->Arg(2 << 10)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Preview)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Name("BM_Preview/cold");
BENCHMARK(BM_Preview)
    ->Arg(1)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->Name("BM_Preview/warm");

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
