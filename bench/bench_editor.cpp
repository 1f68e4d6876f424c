// The editor window's hot paths: the body change handler (read the body,
// count, set the label), a keystroke with the marks it redraws, loading a
// large body, and the preview, from the click to the page loaded in the
// pane. Runs without a display. The second argument, where there is one,
// turns the body's handset marks off (0) or on (1), side by side.
#include "BenchSupport.h"
#include "BodyEditor.h"
#include "HandsetDecorator.h"
#include "main1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

namespace {

BodyEditor* bodyOf(main1& window, const benchmark::State& state)
{
    auto* body = window.findChild<BodyEditor*>(u"rtext1"_s);
    body->findChild<HandsetDecorator*>()->setEnabled(state.range(1) != 0);
    return body;
}

void BM_BodyChange(benchmark::State& state)
{
    BenchWindow bench;
    main1& window = bench.window;
    bodyOf(window, state)->setPlainText(mixedBody(state.range(0) / 2));
    for ([[maybe_unused]] auto _ : state) window.rtext1_Change();
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Typing a character in the middle of the body and taking it back, with
// everything that follows up to the window's next idle moment: the handler,
// the marks and the repaint.
void BM_Keystroke(benchmark::State& state)
{
    BenchWindow bench;
    main1& window = bench.window;
    window.show();
    BodyEditor* body = bodyOf(window, state);
    body->setPlainText(mixedBody(state.range(0) / 2));
    QTextCursor caret = body->textCursor();
    caret.setPosition(body->document()->characterCount() / 2);
    body->setTextCursor(caret);
    body->centerCursor();
    QCoreApplication::processEvents();
    for ([[maybe_unused]] auto _ : state) {
        caret.insertText(u"あ"_s);
        QCoreApplication::processEvents();
        caret.deletePreviousChar();
        QCoreApplication::processEvents();
    }
}

// What the body file command does once the file is read.
void BM_LoadBody(benchmark::State& state)
{
    BenchWindow bench;
    main1& window = bench.window;
    window.show();
    BodyEditor* body = bodyOf(window, state);
    const QString text = mixedBody(state.range(0) / 2);
    for ([[maybe_unused]] auto _ : state) {
        body->setText(text);
        QCoreApplication::processEvents();
    }
}

// The first preview of a run starts the browser engine; later ones reuse it.
void BM_Preview(benchmark::State& state)
{
    QTemporaryDir dir;
    BenchWindow bench(dir.filePath(u"sub100.html"_s));
    main1& window = bench.window;
    window.show();
    window.Command4_Click();
    auto* body = window.findChild<QPlainTextEdit*>(u"rtext1"_s);
    const QString text = mixedBody(1024);  // a 2 KiB body, as pages should be
    body->setPlainText(text);
    if (state.range(0) == 1 && !previewAndWait(window))  // warm: engine already up
        state.SkipWithError("no browser engine");
    int round = 0;
    for ([[maybe_unused]] auto _ : state) {
        body->setPlainText(text + QString::number(++round));  // a page to rewrite each time
        if (!previewAndWait(window))
            state.SkipWithError("no browser engine");
    }
}

// Opening the help window draws its picture from a sample editor window.
void BM_HelpPicture(benchmark::State& state)
{
    BenchHost host{QString()};
    for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(main1::renderHelpPicture(host));
}

}  // namespace

BENCHMARK(BM_HelpPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BodyChange)
    ->ArgsProduct({{2 << 10, 64 << 10, 1 << 20}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke)
    ->ArgsProduct({{2 << 10, 64 << 10, 1 << 20}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadBody)
    ->ArgsProduct({{50 << 20}, {0, 1}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
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
