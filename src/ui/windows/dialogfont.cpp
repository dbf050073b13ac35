#include "dialogfont.h"

#include <QGuiApplication>
#include <QStringList>

QFont dialogFont(bool bold)
{
    // Qt takes the first family of the list that the system has. Naming them, rather than
    // listing the system's families to look for the classic one, leaves the font database
    // unread until text is first laid out.
    QFont font = QGuiApplication::font();
#ifdef Q_OS_WIN
    // Windows' "MS Sans Serif" is a bitmap font, which Qt does not draw; its TrueType
    // successor looks the same, and Tahoma stands in where even that is missing.
    font.setFamilies(
        {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"), font.family()});
#else
    font.setFamilies({QStringLiteral("MS Sans Serif"), font.family()});
#endif
    // Where none of them is found, another sans-serif face stands in, never a serif one.
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}
