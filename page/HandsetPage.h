#pragma once

#include "Handsets.h"
#include "Pictograms.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace quillet {

// The bytes of the pictures a page shows from its folder (`folder`, or
// below it), each counted once: a handset took them into the same cache
// as the page ("5KB以下(画像も含む)").
qsizetype pictureBytes(QStringView page, const QString& folder);

// A page as the handsets of a series read it, for the preview; the file
// is never changed.
//
// - An element the series lacks loses its tags and keeps its content, as
//   handsets ignored what they did not know; so does a tag no version has
//   (<b>, <span>). <script> and <style> show nothing of their content.
// - An attribute the series lacks is dropped: a dated one before its
//   series, and any that no version has (style, class, onclick).
// - A reference to a pictogram's code shows as that pictogram; every
//   pictogram is marked with the class "quillet-pictogram", so that the
//   pane can draw it as the screen does.
// - A page past the series' limit, pictures included, stops after the last
//   whole character, tag and reference that fit, and a note set apart from
//   the page says where the handset stopped.
struct HandsetPage {
    QString html;
    bool cut = false;    // whether the page stops at the series' limit
    qsizetype kept = 0;  // how much of the page, in UTF-16 units, it shows
};
HandsetPage pageAsHandsetReads(QStringView page, Series series, qsizetype pictures = 0);

// "―― 501i はここまで（5,120 バイト未満）".
QString cutNote(Series series);

}  // namespace quillet
