// The floor for the preview: a bare window that, once shown, makes one
// browser view (scripts off, as in the pane) and loads the page at PAGE:
// once with the engine cold, timed from making the view, so the engine's
// start counts as it does in Quillet's first preview; then LATER more
// times. Prints the milliseconds of the first load and the median of the
// later ones.
//
//   preview_floor PAGE [LATER]
#include "LoadTimes.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>
#include <memory>

#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PAGE [LATER]\n", argv[0]);
        return 2;
    }
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");  // the engine refuses root otherwise
    QApplication app(argc, argv);
    const QUrl page = QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]));
    const int later = argc > 2 ? std::atoi(argv[2]) : 10;

    QWidget window;
    window.resize(293, 447);
    window.show();
    QCoreApplication::processEvents();
    std::unique_ptr<QWebEngineView> view;

    return timeLoads(later, [&] {
        if (!view) {
            view = std::make_unique<QWebEngineView>(&window);
            view->setGeometry(8, 16, 137, 137);
            view->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
            view->show();
        }
        view->load(page);
        QEventLoop loop;
        QObject::connect(view.get(), &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, [&loop] { loop.exit(1); });
        return loop.exec() == 0;
    });
}
