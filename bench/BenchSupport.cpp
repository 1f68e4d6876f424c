#include "BenchSupport.h"

#include "main1.h"

#include <QEventLoop>
#include <QTimer>

namespace quillet {

using namespace Qt::Literals::StringLiterals;

QString mixedBody(qsizetype codeUnits)
{
    const QString pattern = u"今日のお知らせ: Shop open 10:00-19:00。<br>\r\n"_s;
    return pattern.repeated(codeUnits / pattern.size() + 1).left(codeUnits);
}

bool previewAndWait(main1& window)
{
    window.Command6_Click();
    auto* view = window.findChild<QWidget*>(u"WebEngineView"_s);
    if (!view)
        return false;
    QEventLoop loop;
    QObject::connect(view, SIGNAL(loadFinished(bool)), &loop, SLOT(quit()));
    QTimer::singleShot(30000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

}  // namespace quillet
