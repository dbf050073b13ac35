#include "dialogfont.h"

#include <QFontDatabase>
#include <QStringList>

QFont dialogFont(bool bold)
{
    static const QString family = [] {
        const QString classic = QStringLiteral("MS Sans Serif");
        return QFontDatabase::families().contains(classic)
                   ? classic
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    QFont font(family);
    font.setPointSizeF(8.25);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}
