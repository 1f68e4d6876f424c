#pragma once

#include "CodePage.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace quillet {

// What a handset will make of a stretch of the body, as the editor marks it.
struct HandsetMark {
    enum Kind {
        LostCharacter,      // written as "?"
        PlatformCharacter,  // a row only some systems have
        Tag,                // "<" to ">", coloured
        Comment,            // "<!--" to "-->", greyed
        UnknownTag,         // the name of a tag handsets do not know
        LaterTag,           // the name of a tag only later handsets know
        UnclosedTag,        // "<" to the end of its line, no ">" follows
    };
    qsizetype start = 0;  // UTF-16 index in the text
    qsizetype length = 0;
    Kind kind = Tag;
    QString tagName;  // lower case, for the tag kinds

    friend bool operator==(const HandsetMark& a, const HandsetMark& b)
    {
        return a.start == b.start && a.length == b.length && a.kind == b.kind &&
               a.tagName == b.tagName;
    }
};

// Finds the marks of texts, keeping the code page converter between them.
class HandsetMarker {
public:
    // In text order of their starts; a character mark may lie inside a tag.
    // When `text` is cut from a longer body (`bodyGoesOn`), a tag that runs
    // past its end may yet be closed, and is not marked unclosed.
    QList<HandsetMark> marks(QStringView text, bool bodyGoesOn = false);

private:
    Cp932RiskFinder characters_;
};

// The tooltip of a mark; empty for the kinds that only colour.
QString handsetMarkTip(const HandsetMark& mark);

}  // namespace quillet
