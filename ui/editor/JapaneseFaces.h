#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace quillet {

// The window names the Windows faces; elsewhere the first installed face of
// the same kind stands in. `installed` is the font system's family list,
// read once for all the faces a window needs.
QString minchoFamily(const QStringList& installed);
QString pGothicFamily(const QStringList& installed);

QFont japaneseFont(const QString& family, qreal points);

// The program's face, for its windows, menus, tooltips and message boxes:
// the desktop's, unless that draws Latin at a fixed width (a Japanese
// desktop's IPAGothic). Then the proportional Gothic, as on the Japanese
// desktop the layout was drawn on. Before the first window.
void chooseApplicationFace();

}  // namespace quillet
