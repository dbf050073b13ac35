#include "dialogfont.h"

#include "native.h"

#include <QGuiApplication>
#include <QStringList>

QFont dialogFont(bool bold)
{
    // Qt takes the first family of the list that the system has. Naming them, rather than
    // listing the system's families to look for the classic one, leaves the font database
    // unread until text is first laid out.
    QFont font = QGuiApplication::font();
    font.setFamilies(Native::dialogFontFamilies() << font.family());
    // Where none of them is found, another sans-serif face stands in, never a serif one.
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}
