// The preview as a user meets it: the editor window, its output file PAGE
// chosen and a 2 KiB body typed, whose preview button writes the page and
// shows it, once with the engine cold and LATER more times. Prints the milliseconds from the click
// to the page loaded in the pane for the first preview, and the median of the later ones. Compare
// with preview_floor (run_preview.sh).
//
//   preview_quillet PAGE [LATER]
#include "BenchSupport.h"
#include "LoadTimes.h"
#include "main1.h"

#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>

using namespace quillet;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PAGE [LATER]\n", argv[0]);
        return 2;
    }
    prepareEmbeddedBrowser();
    QApplication app(argc, argv);
    const int later = argc > 2 ? std::atoi(argv[2]) : 10;

    BenchWindow bench(QString::fromLocal8Bit(argv[1]));
    main1& window = bench.window;
    window.show();
    window.Command4_Click();
    window.findChild<QPlainTextEdit*>(u"rtext1"_s)->setPlainText(mixedBody(1024));
    // The user types the page between choosing its file and previewing it;
    // meanwhile the window is idle, and readies the browser.
    QEventLoop typing;
    QTimer::singleShot(1000, &typing, &QEventLoop::quit);
    typing.exec();

    return timeLoads(later, [&window] { return previewAndWait(window); });
}
