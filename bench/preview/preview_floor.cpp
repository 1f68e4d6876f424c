// The floor for the preview: a bare window that, once shown, makes one
// browser view (scripts off, as in the pane) and loads the page at PAGE:
// once with the engine cold, timed from making the view, so the engine's
// start counts as it does in Quillet's first preview; then LATER more
// times. Prints the milliseconds of the first load and the median of the
// later ones.
//
//   preview_floor PAGE [LATER]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

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

    std::vector<double> times;
    for (int i = 0; i <= later; ++i) {
        QElapsedTimer timer;
        timer.start();
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
        if (loop.exec() != 0) {
            std::fprintf(stderr, "the page did not load\n");
            return 1;
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin() + 1, times.begin() + 1 + later / 2, times.end());
    std::printf("%.1f %.1f\n", times[0], later > 0 ? times[1 + later / 2] : 0.0);
    return 0;
}
